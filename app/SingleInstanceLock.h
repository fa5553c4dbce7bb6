#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QSocketNotifier;

// One copy of the program per user. The lock is a listening Unix socket whose name, in the
// abstract namespace, holds the user id: no file is involved, so neither the environment nor
// the working folder changes which lock a copy takes, and the kernel gives the name up the
// moment its process ends, however it ends.
//
// A later copy started with a reading file hands the file to the copy that holds the lock,
// over the same socket, and only ever to a copy of the same user; the holder takes requests
// from copies of its own user alone.
class SingleInstanceLock {
public:
    enum class Outcome {
        Taken,
        HeldByAnotherCopy,
        // Another copy of this user holds the lock and took the reading file.
        HandedOver,
        // The name is held by another user, or by a process that does not answer: the program
        // runs without the lock rather than claim a copy that cannot be shown to run.
        CannotBeMade,
    };

    // A reading file that a later copy was started with.
    struct HandedFile {
        std::string path; // absolute, the bytes that the later copy was given
        // What the launcher gave the later copy to bring a window to the front on Wayland.
        QByteArray activationToken;
    };

    // Tests give a name of their own, so that they never meet a copy that the user runs.
    explicit SingleInstanceLock(QByteArray name = nameForUser());
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    // Takes the lock for the life of this object. Where another copy of this user holds it,
    // hands it `readingFile`, if given.
    Outcome take(const std::optional<std::string>& readingFile = std::nullopt);
    // What stood in the way, after CannotBeMade.
    QString problem() const { return m_problem; }

    // Once the lock is taken: `canTake` says at once whether a handed file can be opened now;
    // the later copy is told, and only if it still waits does `open` run. Until this is
    // called, no file is taken.
    void receiveReadingFiles(std::function<bool(const HandedFile&)> canTake,
                             std::function<void(const HandedFile&)> open);

    static QByteArray nameForUser();

private:
    Outcome cannotBeMade(const QString& problem);
    void acceptCallers();
    void answer(int caller, const QByteArray& request);

    QByteArray m_name;
    int m_socket = -1;
    std::unique_ptr<QSocketNotifier> m_callers;
    // Parent of the connections that are still sending their request.
    QObject m_openCalls;
    std::function<bool(const HandedFile&)> m_canTake;
    std::function<void(const HandedFile&)> m_open;
    QString m_problem;
};
