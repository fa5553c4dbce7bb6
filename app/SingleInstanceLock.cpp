#include "app/SingleInstanceLock.h"

#include <QSocketNotifier>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace {

// An address in the abstract namespace: a leading zero byte, then the name, no terminator.
struct Address {
    explicit Address(const QByteArray& name) {
        socket.sun_family = AF_UNIX;
        const auto length =
            std::min(static_cast<std::size_t>(name.size()), sizeof socket.sun_path - 1);
        std::memcpy(socket.sun_path + 1, name.constData(), length);
        size = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + length);
    }
    const sockaddr* get() const { return reinterpret_cast<const sockaddr*>(&socket); }

    sockaddr_un socket{};
    socklen_t size;
};

enum class Holder { ThisUser, AnotherUser, NotAnswering };

// Who listens under the name. Connecting never waits: a holder that refuses, or whose queue is
// full, is not answering.
Holder holderOf(const Address& address) {
    const int caller = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    ucred peer{};
    socklen_t size = sizeof peer;
    const bool answered = caller >= 0 && ::connect(caller, address.get(), address.size) == 0 &&
                          ::getsockopt(caller, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0;
    if (caller >= 0)
        ::close(caller);
    if (!answered)
        return Holder::NotAnswering;
    return peer.uid == ::geteuid() ? Holder::ThisUser : Holder::AnotherUser;
}

} // namespace

SingleInstanceLock::SingleInstanceLock(QByteArray name)
    : m_name(std::move(name)) {}

SingleInstanceLock::~SingleInstanceLock() {
    m_callers.reset();
    if (m_socket >= 0)
        ::close(m_socket);
}

QByteArray SingleInstanceLock::nameForUser() {
    return "org.nodalis.Nodalis-" + QByteArray::number(::geteuid());
}

SingleInstanceLock::Outcome SingleInstanceLock::take() {
    const Address address(m_name);
    // A copy that has just bound the name listens a moment later; one that has not answered
    // within a second is not shown to be alive.
    for (int attempt = 0; attempt < 20; ++attempt) {
        // Not inherited by the programs that the program starts, such as the browser.
        const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (socket < 0)
            return cannotBeMade(QString::fromLocal8Bit(std::strerror(errno)));
        if (::bind(socket, address.get(), address.size) == 0 && ::listen(socket, 16) == 0) {
            m_socket = socket;
            // A later copy connects to see who holds the name; let it in and hang up at once.
            m_callers = std::make_unique<QSocketNotifier>(socket, QSocketNotifier::Read);
            QObject::connect(m_callers.get(), &QSocketNotifier::activated, [socket] {
                for (int caller; (caller = ::accept4(socket, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;)
                    ::close(caller);
            });
            return Outcome::Taken;
        }
        const int error = errno;
        ::close(socket);
        if (error != EADDRINUSE)
            return cannotBeMade(QString::fromLocal8Bit(std::strerror(error)));
        switch (holderOf(address)) {
        case Holder::ThisUser:
            return Outcome::HeldByAnotherCopy;
        case Holder::AnotherUser:
            return cannotBeMade(QStringLiteral("another user holds its name"));
        case Holder::NotAnswering:
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    return cannotBeMade(QStringLiteral("a process that does not answer holds its name"));
}

SingleInstanceLock::Outcome SingleInstanceLock::cannotBeMade(const QString& problem) {
    m_problem = problem;
    return Outcome::CannotBeMade;
}
