#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

// Small files of the user's, such as reading files and settings, saved so that they are never
// left torn and read so that nothing put in their place can make the program wait.

// The largest small file: what a save writes and whose old contents an in-place save keeps
// until the new ones are down.
inline constexpr std::size_t kMaxSmallFileSize = 64 * 1024;

// Writes a new file beside `path` and renames it over `path` once it is whole, so that a
// failed save leaves any earlier file as it was. More than kMaxSmallFileSize bytes are
// file_too_large and not saved. A symbolic link to a file is written through, where the
// kernel would follow it; a dangling one is replaced. An existing file that the user may not
// write to is refused. One that a new file cannot stand in for (other hard links to it,
// another owner, a folder that takes no new files) is written in place instead, under a
// journal that puts the whole old or the whole new contents back if the save is cut short;
// then a readable file larger than kMaxSmallFileSize, whose old contents the journal cannot
// keep, is file_too_large and left as it was.
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
