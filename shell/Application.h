#pragma once

#include <QLockFile>

class QWidget;

// Held for the life of the process, in the user's runtime folder: a second copy
// for the same user finds it taken. The lock of a copy that was killed is taken
// over, because its process no longer exists.
class SingleInstanceLock {
public:
    SingleInstanceLock();
    bool tryAcquire();

private:
    QLockFile m_lock;
};

// Refuses to run beside another copy of the program; otherwise shows the main
// window and picks which offer it shows. False when the program must end at once.
bool StartApplication(SingleInstanceLock& lock);

// Brings one of the main window's two offer labels, which share one rectangle,
// to the front: each in half of all runs.
void CoBrand_Randomize(QWidget& mainWindow);
