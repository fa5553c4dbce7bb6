#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

class QSocketNotifier;

// One copy of the program per user. The lock is a listening Unix socket whose name, in the
// abstract namespace, holds the user id: no file is involved, so neither the environment nor
// the working folder changes which lock a copy takes, and the kernel gives the name up the
// moment its process ends, however it ends.
class SingleInstanceLock {
public:
    enum class Outcome {
        Taken,
        HeldByAnotherCopy,
        // The name is held by another user, or by a process that does not answer: the program
        // runs without the lock rather than claim a copy that cannot be shown to run.
        CannotBeMade,
    };

    // Tests give a name of their own, so that they never meet a copy that the user runs.
    explicit SingleInstanceLock(QByteArray name = nameForUser());
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    // Takes the lock for the life of this object.
    Outcome take();
    // What stood in the way, after CannotBeMade.
    QString problem() const { return m_problem; }

    static QByteArray nameForUser();

private:
    Outcome cannotBeMade(const QString& problem);

    QByteArray m_name;
    int m_socket = -1;
    std::unique_ptr<QSocketNotifier> m_callers;
    QString m_problem;
};
