#pragma once

#include "engine/NodeReading.h"
#include "format/SmallFile.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

// A reading file keeps only the birth data of a reading, four scrambled lines
// of Windows-1252 text each ending in CR LF: name, day, month name, year.
// Signs and texts are not stored; opening a file computes the reading again.

// A real reading file is a few dozen bytes; anything larger is not one.
inline constexpr std::size_t kMaxReadingFileSize = kMaxSmallFileSize;

// The decoded lines in file order, as UTF-8. A line the file lacks is empty.
// Nothing here checks that the values make a date.
struct ReadingFileLines {
    std::string name;
    std::string day;
    std::string monthName;
    std::string year;

    friend bool operator==(const ReadingFileLines&, const ReadingFileLines&) = default;
};

enum class ReadStatus {
    Read,
    Unreadable, // missing, not a regular file, or an error while reading
    Refused,    // larger than kMaxReadingFileSize or holding a NUL byte
};

struct ReadingFileContents {
    ReadStatus status = ReadStatus::Unreadable;
    ReadingFileLines lines;
};

// The bytes of the file for `reading`.
std::string formatReadingFile(const NodeReading& reading);

// The lines of file bytes already known to be within the size bound and free of NUL.
ReadingFileLines parseReadingFile(std::string_view bytes);

// What the whole contents of a file amount to: Refused past the size bound or with a NUL
// byte, otherwise Read with its lines.
ReadingFileContents interpretReadingFile(std::string_view bytes);

// Saves the file for `reading` as saveFileContents does, whole or not at all. A reading whose
// file would be too large to open again is not saved.
[[nodiscard]] std::error_code writeReadingFile(const std::filesystem::path& path,
                                               const NodeReading& reading);

// Anything but a regular file, a named pipe included, is Unreadable and never waited on.
ReadingFileContents readReadingFile(const std::filesystem::path& path);
