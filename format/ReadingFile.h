#pragma once

#include "engine/NodeReading.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

// A reading file keeps only the birth data of a reading, four scrambled lines
// of Windows-1252 text each ending in CR LF: name, day, month name, year.
// Signs and texts are not stored; opening a file computes the reading again.

// A real reading file is a few dozen bytes; anything larger is not one.
inline constexpr std::size_t kMaxReadingFileSize = 64 * 1024;

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

// Writes a new file beside `path` and renames it over `path` once it is whole, so that a
// failed save leaves any earlier file as it was. A symbolic link to a file is written
// through, where the kernel would follow it; a dangling one is replaced. An existing file
// that the user may not write to is refused. One that a new file cannot stand in for (other
// hard links to it, another owner, a folder that takes no new files) is written in place
// instead, under a journal that puts the whole old or the whole new contents back if the
// save is cut short. A reading whose file would be too large to open again is not saved.
[[nodiscard]] std::error_code writeReadingFile(const std::filesystem::path& path,
                                               const NodeReading& reading);

// What writeReadingFile does with the bytes of any small file.
[[nodiscard]] std::error_code saveFileContents(const std::filesystem::path& path,
                                               std::string_view bytes);

// The whole of a regular file of at most `limit` bytes, read without waiting on a named pipe
// or anything else put in its place: file_too_large past the limit, another error when it
// is missing, not a regular file or unreadable. Saves cut short are finished first.
[[nodiscard]] std::error_code readSmallFile(const std::filesystem::path& path, std::size_t limit,
                                            std::string& bytes);

// A folder of the user's by the XDG rule: `variable` when it holds an absolute path, else
// `underHome` in the home folder, which is the password database's when HOME is unset or
// relative. Empty when there is none.
std::filesystem::path userFolder(const char* variable, const char* underHome);

// Anything but a regular file, a named pipe included, is Unreadable and never waited on.
ReadingFileContents readReadingFile(const std::filesystem::path& path);
