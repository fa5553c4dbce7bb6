#pragma once

#include "app/SingleInstanceLock.h"

#include <QString>

class MainWindow;

// Refuses to run beside another copy of the program; otherwise shows the main window, picks
// which offer it shows and then opens `readingFile`, if given, as the open button does with
// a chosen file. False when the program must end at once.
bool startApplication(SingleInstanceLock& lock, const QString& readingFile = {});

// Brings one of the main window's two offer labels, which share one rectangle,
// to the front: each in half of all runs.
void bringRandomOfferToFront(MainWindow& mainWindow);
