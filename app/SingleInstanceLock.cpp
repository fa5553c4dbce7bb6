#include "app/SingleInstanceLock.h"

#include "format/Descriptor.h"

#include <QSocketNotifier>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <linux/sock_diag.h>
#include <linux/unix_diag.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace {

// The holder's one-byte answer to a handed file.
constexpr char kTaken = 'y';
constexpr char kNotTaken = 'n';
// A request is a token and a path; anything longer is not one.
constexpr qsizetype kMaxRequest = 64 * 1024;
// How long a later copy waits for the holder to answer, and a request to be sent.
constexpr timeval kAnswerTime{5, 0};

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
    // The name as the kernel reports it, leading zero byte included.
    QByteArray kernelName() const {
        return {socket.sun_path, static_cast<qsizetype>(size - offsetof(sockaddr_un, sun_path))};
    }

    sockaddr_un socket{};
    socklen_t size;
};

// A later copy's connection whose request is still coming in; closed when deleted.
class Call : public QSocketNotifier {
public:
    Call(int socket, QObject* parent)
        : QSocketNotifier(socket, QSocketNotifier::Read, parent) {}
    ~Call() override {
        setEnabled(false); // before the socket closes, so that Qt never watches a closed one
        ::close(static_cast<int>(socket()));
    }
    QByteArray request;
};

uid_t peerOf(int socket) {
    ucred peer{};
    socklen_t size = sizeof peer;
    // No user is uid_t(-1).
    return ::getsockopt(socket, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 ? peer.uid : uid_t(-1);
}

// The user that owns the socket listening under `address`, from the kernel's table of sockets;
// none where the table cannot be read.
std::optional<uid_t> listenerOwner(const Address& address) {
    const Descriptor table(::socket(AF_NETLINK, SOCK_DGRAM | SOCK_CLOEXEC, NETLINK_SOCK_DIAG));
    struct {
        nlmsghdr header;
        unix_diag_req request;
    } query{};
    query.header = {sizeof query, SOCK_DIAG_BY_FAMILY, NLM_F_REQUEST | NLM_F_DUMP, 0, 0};
    query.request.sdiag_family = AF_UNIX;
    query.request.udiag_states = 1U << TCP_LISTEN;
    query.request.udiag_show = UDIAG_SHOW_NAME | UDIAG_SHOW_UID;
    ::setsockopt(table.get(), SOL_SOCKET, SO_RCVTIMEO, &kAnswerTime, sizeof kAnswerTime);
    if (::send(table.get(), &query, sizeof query, 0) != sizeof query)
        return std::nullopt;
    const QByteArray name = address.kernelName();
    std::optional<uid_t> owner;
    alignas(nlmsghdr) char buffer[32 * 1024];
    for (;;) {
        const ssize_t got = ::recv(table.get(), buffer, sizeof buffer, 0);
        if (got <= 0)
            return std::nullopt;
        const auto end = static_cast<std::size_t>(got);
        // Each message: a header, a socket's description, then its attributes.
        for (std::size_t at = 0; at + sizeof(nlmsghdr) <= end;) {
            nlmsghdr header;
            std::memcpy(&header, buffer + at, sizeof header);
            if (header.nlmsg_type == NLMSG_DONE)
                return owner;
            if (header.nlmsg_type == NLMSG_ERROR || header.nlmsg_len < sizeof header ||
                at + header.nlmsg_len > end)
                return std::nullopt;
            bool named = false;
            std::optional<uid_t> uid;
            std::size_t attribute = at + NLMSG_ALIGN(sizeof header) + sizeof(unix_diag_msg);
            const std::size_t last = at + header.nlmsg_len;
            while (attribute + sizeof(rtattr) <= last) {
                rtattr head;
                std::memcpy(&head, buffer + attribute, sizeof head);
                if (head.rta_len < sizeof head || attribute + head.rta_len > last)
                    break;
                const char* data = buffer + attribute + RTA_ALIGN(sizeof head);
                const std::size_t size = head.rta_len - RTA_ALIGN(sizeof head);
                if (head.rta_type == UNIX_DIAG_NAME)
                    named = QByteArrayView(data, static_cast<qsizetype>(size)) == name;
                else if (head.rta_type == UNIX_DIAG_UID && size == sizeof(uid_t))
                    std::memcpy(&uid.emplace(), data, size);
                attribute += RTA_ALIGN(head.rta_len);
            }
            if (named)
                owner = uid;
            at += NLMSG_ALIGN(header.nlmsg_len);
        }
    }
}

enum class Holder { ThisUser, AnotherUser, NotAnswering };

// Who listens under the name; `connection` is left connected to a holder of this user.
// Connecting never waits: a holder that refuses is not answering, and one whose queue is full
// is alive, and its owner in the kernel's table.
Holder holderOf(const Address& address, Descriptor& connection) {
    Descriptor caller(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (caller.get() < 0)
        return Holder::NotAnswering;
    if (::connect(caller.get(), address.get(), address.size) != 0) {
        const std::optional<uid_t> owner = errno == EAGAIN ? listenerOwner(address) : std::nullopt;
        if (!owner)
            return Holder::NotAnswering;
        return *owner == ::geteuid() ? Holder::ThisUser : Holder::AnotherUser;
    }
    const uid_t peer = peerOf(caller.get());
    if (peer == uid_t(-1))
        return Holder::NotAnswering;
    if (peer != ::geteuid())
        return Holder::AnotherUser;
    connection = std::move(caller);
    return Holder::ThisUser;
}

// Sends the file to the holder, with the launcher's token, and waits for its answer.
bool handOver(const Descriptor& connection, const std::string& path) {
    std::error_code error;
    // The holder runs in a working folder of its own.
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (connection.get() < 0 || path.empty() || error)
        return false;
    const QByteArray request =
        qgetenv("XDG_ACTIVATION_TOKEN") + '\0' + QByteArray::fromStdString(absolute.native());
    const int socket = connection.get();
    ::fcntl(socket, F_SETFL, ::fcntl(socket, F_GETFL) & ~O_NONBLOCK);
    ::setsockopt(socket, SOL_SOCKET, SO_SNDTIMEO, &kAnswerTime, sizeof kAnswerTime);
    ::setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, &kAnswerTime, sizeof kAnswerTime);
    if (::send(socket, request.constData(), static_cast<std::size_t>(request.size()),
               MSG_NOSIGNAL) != request.size() ||
        ::shutdown(socket, SHUT_WR) != 0)
        return false;
    char answer = kNotTaken;
    return ::recv(socket, &answer, 1, 0) == 1 && answer == kTaken;
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

SingleInstanceLock::Outcome
SingleInstanceLock::take(const std::optional<std::string>& readingFile) {
    const Address address(m_name);
    // A copy that has just bound the name listens a moment later; one that has not answered
    // within a second is not shown to be alive.
    for (int attempt = 0; attempt < 20; ++attempt) {
        // Not inherited by the programs that the program starts, such as the browser.
        const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (socket < 0)
            return cannotBeMade(QString::fromLocal8Bit(std::strerror(errno)));
        // The kernel caps the queue of callers at its own limit; a burst of starts fills a
        // short one while the holder is busy.
        if (::bind(socket, address.get(), address.size) == 0 && ::listen(socket, SOMAXCONN) == 0) {
            m_socket = socket;
            m_callers = std::make_unique<QSocketNotifier>(socket, QSocketNotifier::Read);
            QObject::connect(m_callers.get(), &QSocketNotifier::activated,
                             [this] { acceptCallers(); });
            return Outcome::Taken;
        }
        const int error = errno;
        ::close(socket);
        if (error != EADDRINUSE)
            return cannotBeMade(QString::fromLocal8Bit(std::strerror(error)));
        Descriptor connection;
        switch (holderOf(address, connection)) {
        case Holder::ThisUser:
            return readingFile && handOver(connection, *readingFile) ? Outcome::HandedOver
                                                                     : Outcome::HeldByAnotherCopy;
        case Holder::AnotherUser:
            return cannotBeMade(QStringLiteral("another user holds its name"));
        case Holder::NotAnswering:
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    return cannotBeMade(QStringLiteral("a process that does not answer holds its name"));
}

void SingleInstanceLock::receiveReadingFiles(std::function<bool(const HandedFile&)> canTake,
                                             std::function<void(const HandedFile&)> open) {
    m_canTake = std::move(canTake);
    m_open = std::move(open);
}

// A later copy connects to see who holds the name, and sends a reading file if it has one.
void SingleInstanceLock::acceptCallers() {
    for (int caller;
         (caller = ::accept4(m_socket, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK)) >= 0;) {
        // Anyone may connect to the name: only a copy of this user is heard.
        if (peerOf(caller) != ::geteuid()) {
            ::close(caller);
            continue;
        }
        auto* call = new Call(caller, &m_openCalls);
        QObject::connect(call, &QSocketNotifier::activated, call, [this, call] {
            const int socket = static_cast<int>(call->socket());
            char buffer[4096];
            ssize_t got;
            while ((got = ::recv(socket, buffer, sizeof buffer, 0)) > 0 &&
                   call->request.size() <= kMaxRequest)
                call->request.append(buffer, got);
            if (got < 0 && errno == EAGAIN && call->request.size() <= kMaxRequest)
                return; // more to come
            call->setEnabled(false);
            // A copy that only looked, or sent too much, hangs up without an answer.
            if (got == 0 && !call->request.isEmpty() && call->request.size() <= kMaxRequest)
                answer(socket, call->request);
            call->deleteLater();
        });
    }
}

void SingleInstanceLock::answer(int caller, const QByteArray& request) {
    const qsizetype end = request.indexOf('\0');
    if (end < 0 || !request.sliced(end + 1).startsWith('/'))
        return;
    const HandedFile file{request.sliced(end + 1).toStdString(), request.first(end)};
    const bool taken = m_canTake && m_canTake(file);
    const char reply = taken ? kTaken : kNotTaken;
    // A copy that no longer waits has told its user that a copy runs: the file stays closed.
    if (::send(caller, &reply, 1, MSG_NOSIGNAL) != 1 || !taken)
        return;
    // Once the answer is out: opening may show a message and wait for the user.
    QMetaObject::invokeMethod(
        &m_openCalls, [this, file] { m_open(file); }, Qt::QueuedConnection);
}

SingleInstanceLock::Outcome SingleInstanceLock::cannotBeMade(const QString& problem) {
    m_problem = problem;
    return Outcome::CannotBeMade;
}
