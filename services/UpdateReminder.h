#pragma once

// Offers to look for an update when the date stored at the last offer, or at the
// first run, is 15 days or more away from today. Runs as the main window is created.
void checkUpdateReminder();
