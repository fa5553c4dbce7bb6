#include "format/ReadingFile.h"

#include "format/TextCodec.h"
#include "format/Windows1252.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <random>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kLinesRead = 5; // a fifth line is read and ignored, nothing after it

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

std::error_code lastError() {
    return {errno, std::generic_category()};
}

void appendLine(std::string& bytes, std::string_view utf8) {
    bytes += EncodeText(windows1252FromUtf8(utf8));
    bytes += kLineEnd;
}

// A name no other writer picks, in the target's own folder so the rename stays on one volume.
fs::path temporaryPathBeside(const fs::path& target) {
    fs::path name = ".";
    name += target.filename();
    name += ".";
    name += std::to_string(std::random_device{}());
    name += ".part";
    return target.parent_path() / name;
}

std::error_code writeAll(const fs::path& path, std::string_view bytes) {
    // "x": fail rather than write into a file that someone else created.
    File file{std::fopen(path.c_str(), "wbx")};
    if (!file)
        return lastError();
    // On the disk before the rename, or a power cut could leave an empty file in its place.
    if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size() ||
        std::fflush(file.get()) != 0 || ::fsync(::fileno(file.get())) != 0) {
        const auto error = lastError();
        file.reset();
        return error;
    }
    if (std::fclose(file.release()) != 0)
        return lastError();
    return {};
}

// The file that a save must replace: the target of a symbolic link, not the link.
fs::path resolvedTarget(const fs::path& path, std::error_code& error) {
    const fs::path absolute = fs::absolute(path, error);
    if (error)
        return {};
    std::error_code missing;
    if (!fs::is_symlink(fs::symlink_status(absolute, missing)))
        return absolute;
    return fs::weakly_canonical(absolute, error);
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
        return utf8FromWindows1252(DecodeText(lines[i]));
    };
    return {decoded(0), decoded(1), decoded(2), decoded(3)};
}

ReadingFileContents interpretReadingFile(std::string_view bytes) {
    if (bytes.size() > kMaxReadingFileSize || bytes.find('\0') != std::string_view::npos)
        return {ReadStatus::Refused, {}};
    return {ReadStatus::Read, parseReadingFile(bytes)};
}

std::error_code WriteReadingFile(const fs::path& path, const NodeReading& reading) {
    std::error_code error;
    const fs::path target = resolvedTarget(path, error);
    if (error)
        return error;

    std::error_code missing;
    const fs::file_status existing = fs::status(target, missing);
    const bool replacing = fs::exists(existing);
    if (replacing) {
        if (!fs::is_regular_file(existing))
            return std::make_error_code(std::errc::is_a_directory);
        // A file the user may not write to stays as it is, although its folder would allow
        // a rename over it.
        if (!File{std::fopen(target.c_str(), "r+b")})
            return lastError();
    }

    const std::string bytes = formatReadingFile(reading);
    fs::path temporary;
    // A save that was killed may have left a file under the name drawn; draw another.
    for (int attempt = 0; attempt < 8; ++attempt) {
        temporary = temporaryPathBeside(target);
        error = writeAll(temporary, bytes);
        if (error != std::errc::file_exists)
            break;
    }
    if (!error && replacing)
        fs::permissions(temporary, existing.permissions(), error);
    if (!error)
        fs::rename(temporary, target, error);
    // A name that was taken is someone else's file, never ours to remove.
    if (error && error != std::errc::file_exists) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
    }
    return error;
}

ReadingFileContents ReadReadingFile(const fs::path& path) {
    std::error_code error;
    if (!fs::is_regular_file(path, error))
        return {ReadStatus::Unreadable, {}};
    File file{std::fopen(path.c_str(), "rb")};
    if (!file)
        return {ReadStatus::Unreadable, {}};

    // One byte past the bound tells a file that is too large from one that just fits.
    std::string bytes(kMaxReadingFileSize + 1, '\0');
    const std::size_t size = std::fread(bytes.data(), 1, bytes.size(), file.get());
    if (std::ferror(file.get()))
        return {ReadStatus::Unreadable, {}};
    bytes.resize(size);
    return interpretReadingFile(bytes);
}
