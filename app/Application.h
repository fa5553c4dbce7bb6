#pragma once

#include "app/SingleInstanceLock.h"

#include <optional>
#include <string>

class MainWindow;

// Refuses to run beside another copy of the program, or hands that copy `readingFile`, if
// given; otherwise shows the main window, picks which offer it shows and then opens
// `readingFile` as the open button does with a chosen file. From then on, a file that a later
// copy hands over opens as if the user had gone back to the main window and chosen it. False
// when the program must end at once.
bool startApplication(SingleInstanceLock& lock,
                      const std::optional<std::string>& readingFile = std::nullopt);

// Brings one of the main window's two offer labels, which share one rectangle,
// to the front: each in half of all runs.
void bringRandomOfferToFront(MainWindow& mainWindow);
