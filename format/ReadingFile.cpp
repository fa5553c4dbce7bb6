#include "format/ReadingFile.h"

#include "format/TextCodec.h"
#include "format/Windows1252.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kLinesRead = 5; // a fifth line is read and ignored, nothing after it

std::error_code lastError() {
    return {errno, std::generic_category()};
}

// An open file, closed when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd = -1)
        : m_fd(fd) {}
    Descriptor(Descriptor&& other) noexcept
        : m_fd(std::exchange(other.m_fd, -1)) {}
    Descriptor& operator=(Descriptor&& other) noexcept {
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
        return ::close(std::exchange(m_fd, -1)) == 0 ? std::error_code{} : lastError();
    }

private:
    int m_fd;
};

void appendLine(std::string& bytes, std::string_view utf8) {
    bytes += encodeText(windows1252FromUtf8(utf8));
    bytes += kLineEnd;
}

// On the disk before it counts as saved, or a power cut could leave an empty file.
std::error_code writeAll(const Descriptor& file, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(file.get(), bytes.data(), bytes.size());
        if (written < 0 && errno != EINTR)
            return lastError();
        bytes.remove_prefix(static_cast<std::size_t>(std::max<ssize_t>(written, 0)));
    }
    return ::fsync(file.get()) == 0 ? std::error_code{} : lastError();
}

// A new file in the target's own folder, so that the rename stays on one volume. Its name is
// short and of fixed length, so that a target whose name is as long as the folder allows
// still has room beside it; O_EXCL never writes into a file that someone else created.
Descriptor createTemporaryBeside(const fs::path& target, mode_t mode, fs::path& temporary,
                                 std::error_code& error) {
    constexpr int kAttempts = 8; // a name taken, by a save that was killed, is drawn again
    std::random_device random;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        std::array<char, 18> name{};
        std::snprintf(name.data(), name.size(), ".nodalis-%08x", unsigned{random()});
        temporary = target.parent_path() / name.data();
        Descriptor file{::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode)};
        error = file ? std::error_code{} : lastError();
        if (error != std::errc::file_exists)
            return file;
    }
    return Descriptor{};
}

// Truncated and written where it is: what a save does when the file cannot be replaced by a
// new one. A failure part way leaves the file short, and is reported like any other.
std::error_code writeInPlace(Descriptor& file, std::string_view bytes) {
    if (::ftruncate(file.get(), 0) != 0)
        return lastError();
    const std::error_code error = writeAll(file, bytes);
    const std::error_code closed = file.close();
    return error ? error : closed;
}

// The file that a save must replace: the target of a symbolic link, not the link.
fs::path resolvedTarget(const fs::path& path, std::error_code& error) {
    const fs::path absolute = fs::absolute(path, error);
    if (error)
        return {};
    std::error_code missing;
    if (!fs::is_symlink(fs::symlink_status(absolute, missing)))
        return absolute;
    return fs::weakly_canonical(absolute, error);
}

} // namespace

std::string formatReadingFile(const NodeReading& reading) {
    std::string bytes;
    appendLine(bytes, reading.name);
    appendLine(bytes, std::to_string(reading.day));
    appendLine(bytes, reading.monthName);
    appendLine(bytes, std::to_string(reading.year));
    return bytes;
}

ReadingFileLines parseReadingFile(std::string_view bytes) {
    std::array<std::string_view, kLinesRead> lines;
    std::size_t count = 0;
    while (!bytes.empty() && count < lines.size()) {
        // A line ends at CR or CR LF; a lone LF stays part of the line.
        const std::size_t end = std::min(bytes.find('\r'), bytes.size());
        lines[count++] = bytes.substr(0, end);
        bytes.remove_prefix(end);
        if (bytes.starts_with(kLineEnd))
            bytes.remove_prefix(kLineEnd.size());
        else if (!bytes.empty())
            bytes.remove_prefix(1);
    }
    const auto decoded = [&lines](std::size_t i) {
        return utf8FromWindows1252(decodeText(lines[i]));
    };
    return {decoded(0), decoded(1), decoded(2), decoded(3)};
}

ReadingFileContents interpretReadingFile(std::string_view bytes) {
    if (bytes.size() > kMaxReadingFileSize || bytes.find('\0') != std::string_view::npos)
        return {ReadStatus::Refused, {}};
    return {ReadStatus::Read, parseReadingFile(bytes)};
}

std::error_code writeReadingFile(const fs::path& path, const NodeReading& reading) {
    const std::string bytes = formatReadingFile(reading);
    // Never a file that would be refused when opened again.
    if (bytes.size() > kMaxReadingFileSize)
        return std::make_error_code(std::errc::file_too_large);
    std::error_code error;
    const fs::path target = resolvedTarget(path, error);
    if (error)
        return error;

    // Opening for writing, without truncating, is all the check a file to be replaced needs.
    // O_NOFOLLOW: a symbolic link left at the target is dangling, and is replaced, not followed.
    Descriptor existing{
        ::open(target.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)};
    if (!existing && errno != ENOENT && errno != ELOOP)
        return lastError();
    struct stat old {};
    if (existing) {
        if (::fstat(existing.get(), &old) != 0)
            return lastError();
        if (!S_ISREG(old.st_mode))
            return std::make_error_code(std::errc::invalid_argument);
        // A new file in its place would split the other links from it, or belong to whoever
        // saves rather than to the file's owner.
        if (old.st_nlink > 1 || old.st_uid != ::geteuid())
            return writeInPlace(existing, bytes);
    }

    fs::path temporary;
    Descriptor file =
        createTemporaryBeside(target, existing ? S_IRUSR | S_IWUSR : 0666, temporary, error);
    // A folder that takes no new files may still let the file in it be written.
    if (error == std::errc::permission_denied || error == std::errc::operation_not_permitted)
        return existing ? writeInPlace(existing, bytes) : error;
    if (error)
        return error;
    // The new file takes the old one's group and mode; where it cannot, the old file is
    // written in place instead.
    if (existing && (::fchown(file.get(), static_cast<uid_t>(-1), old.st_gid) != 0 ||
                     ::fchmod(file.get(), old.st_mode & 07777) != 0)) {
        file = Descriptor{};
        ::unlink(temporary.c_str());
        return writeInPlace(existing, bytes);
    }
    error = writeAll(file, bytes);
    if (const std::error_code closed = file.close(); !error)
        error = closed;
    if (!error)
        fs::rename(temporary, target, error);
    if (error)
        ::unlink(temporary.c_str());
    return error;
}

ReadingFileContents readReadingFile(const fs::path& path) {
    // O_NONBLOCK: a named pipe put in the file's place is refused below, not waited on.
    const Descriptor file{::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)};
    struct stat status {};
    if (!file || ::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode))
        return {ReadStatus::Unreadable, {}};

    // One byte past the bound tells a file that is too large from one that just fits.
    std::string bytes(kMaxReadingFileSize + 1, '\0');
    std::size_t size = 0;
    while (size < bytes.size()) {
        const ssize_t count = ::read(file.get(), bytes.data() + size, bytes.size() - size);
        if (count == 0)
            break;
        if (count < 0 && errno != EINTR)
            return {ReadStatus::Unreadable, {}};
        size += static_cast<std::size_t>(std::max<ssize_t>(count, 0));
    }
    bytes.resize(size);
    return interpretReadingFile(bytes);
}
