#pragma once

#include <cerrno>
#include <system_error>
#include <unistd.h>
#include <utility>

// An open file descriptor, closed when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd = -1)
        : m_fd(fd) {}
    Descriptor(Descriptor&& other) noexcept
        : m_fd(std::exchange(other.m_fd, -1)) {}
    // The one held before is closed at once.
    Descriptor& operator=(Descriptor other) noexcept {
        std::swap(m_fd, other.m_fd);
        return *this;
    }
    ~Descriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int get() const { return m_fd; }
    explicit operator bool() const { return m_fd >= 0; }
    // Some file systems report a failed write only when the file is closed.
    std::error_code close() {
        return ::close(std::exchange(m_fd, -1)) == 0
                   ? std::error_code{}
                   : std::error_code{errno, std::generic_category()};
    }

private:
    int m_fd;
};
