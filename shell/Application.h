#pragma once

#include "shell/SingleInstanceLock.h"

class QWidget;

// Refuses to run beside another copy of the program; otherwise shows the main
// window and picks which offer it shows. False when the program must end at once.
bool StartApplication(SingleInstanceLock& lock);

// Brings one of the main window's two offer labels, which share one rectangle,
// to the front: each in half of all runs.
void CoBrand_Randomize(QWidget& mainWindow);
