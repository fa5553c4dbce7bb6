#pragma once

#include <optional>
#include <string>

// What happens before the program's windows: reading its command line, and connecting to a
// display that may not answer.

enum ExitStatus { kSuccess = 0, kNoDisplay = 1, kUsage = 2 };

// What the command line asks for: a start, with the reading file to open if one is given, or
// the status to end with at once, once help, the version or an error has been printed. The
// file's path is the bytes it was given: a file name need not be text in any encoding.
struct CommandLine {
    std::optional<int> exitStatus;
    std::optional<std::string> readingFile;
};

// Read before the application object exists, so that --help and --version answer without a
// display. Qt's own options are not taken: its environment variables do the same.
CommandLine readCommandLine(int argc, char* argv[]);

// Around the construction of the application object, which connects to the display. Between
// the two, Qt's messages are held back; when no display answers, the program says so in one
// line and ends with kNoDisplay instead of aborting, which crash reporters log as a crash.
void holdQtMessagesWhileConnecting();
void releaseHeldQtMessages();
