#include "format/ReadingFile.h"

#include "format/TextCodec.h"
#include "format/Windows1252.h"

#include <algorithm>
#include <array>

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kLinesRead = 5; // a fifth line is read and ignored, nothing after it

void appendLine(std::string& bytes, std::string_view utf8) {
    bytes += encodeText(windows1252FromUtf8(utf8));
    bytes += kLineEnd;
}

} // namespace

std::string formatReadingFile(const NodeReading& reading) {
    std::string bytes;
    appendLine(bytes, reading.name);
    appendLine(bytes, std::to_string(reading.day));
    appendLine(bytes, reading.monthName);
    appendLine(bytes, std::to_string(reading.year));
    return bytes;
}

ReadingFileLines parseReadingFile(std::string_view bytes) {
    std::array<std::string_view, kLinesRead> lines;
    std::size_t count = 0;
    while (!bytes.empty() && count < lines.size()) {
        // A line ends at CR or CR LF; a lone LF stays part of the line.
        const std::size_t end = std::min(bytes.find('\r'), bytes.size());
        lines[count++] = bytes.substr(0, end);
        bytes.remove_prefix(end);
        if (bytes.starts_with(kLineEnd))
            bytes.remove_prefix(kLineEnd.size());
        else if (!bytes.empty())
            bytes.remove_prefix(1);
    }
    const auto decoded = [&lines](std::size_t i) {
        return utf8FromWindows1252(decodeText(lines[i]));
    };
    return {decoded(0), decoded(1), decoded(2), decoded(3)};
}

ReadingFileContents interpretReadingFile(std::string_view bytes) {
    if (bytes.size() > kMaxReadingFileSize || bytes.find('\0') != std::string_view::npos)
        return {ReadStatus::Refused, {}};
    return {ReadStatus::Read, parseReadingFile(bytes)};
}

std::error_code writeReadingFile(const fs::path& path, const NodeReading& reading) {
    // Never a file that would be refused when opened again: the save refuses what is larger.
    static_assert(kMaxReadingFileSize == kMaxSmallFileSize);
    return saveFileContents(path, formatReadingFile(reading));
}

ReadingFileContents readReadingFile(const fs::path& path) {
    std::string bytes;
    const std::error_code error = readSmallFile(path, kMaxReadingFileSize, bytes);
    if (error == std::errc::file_too_large)
        return {ReadStatus::Refused, {}};
    if (error)
        return {ReadStatus::Unreadable, {}};
    return interpretReadingFile(bytes);
}
