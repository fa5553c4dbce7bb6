// Reading arbitrary file contents, and saving arbitrary readings then reading them back.
#include "FuzzChecks.h"
#include "format/ReadingFile.h"
#include "format/TextCodec.h"
#include "format/Windows1252.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>
#include <string_view>

namespace {

void checkFileContents(std::string_view bytes) {
    const ReadingFileContents contents = interpretReadingFile(bytes);
    if (bytes.size() > kMaxReadingFileSize || bytes.find('\0') != std::string_view::npos) {
        require(contents.status == ReadStatus::Refused, "an oversized file or a NUL is refused");
        require(contents.lines == ReadingFileLines{}, "a refused file yields no text");
        return;
    }
    require(contents.status == ReadStatus::Read, "any other contents are read");
    const ReadingFileLines& lines = contents.lines;
    std::string rewritten;
    for (const std::string* line : {&lines.name, &lines.day, &lines.monthName, &lines.year}) {
        // Decoding may well give control characters (byte 98 becomes CR); only the encoding
        // keeps line ends out of a file.
        require(isWellFormedUtf8(*line), "a line read is well-formed UTF-8");
        rewritten += encodeText(windows1252FromUtf8(*line)) + "\r\n";
    }
    require(rewritten.size() <= bytes.size() + 8, "the lines hold nothing the file did not");
    require(parseReadingFile(rewritten) == lines, "the lines read, saved again, read the same");
}

// Characters the codec can carry: those of the bytes 0 to 170.
std::string encodableText(FuzzedDataProvider& provider) {
    std::string bytes = provider.ConsumeRandomLengthString(64);
    for (char& c : bytes)
        c = static_cast<char>(static_cast<unsigned char>(c) % 171);
    return utf8FromWindows1252(bytes);
}

void checkSavedReading(FuzzedDataProvider& provider) {
    NodeReading reading;
    reading.day = provider.ConsumeIntegral<std::int16_t>();
    reading.year = provider.ConsumeIntegral<std::int16_t>();
    reading.name = encodableText(provider);
    reading.monthName = encodableText(provider);

    const std::string file = formatReadingFile(reading);
    require(std::ranges::count(file, '\r') == 4 && std::ranges::count(file, '\n') == 4 &&
                file.ends_with("\r\n"),
            "a saved file is four lines, each ending in CR LF");
    const ReadingFileContents contents = interpretReadingFile(file);
    require(contents.status == ReadStatus::Read, "a saved file is read");
    require(contents.lines == ReadingFileLines{reading.name, std::to_string(reading.day),
                                               reading.monthName, std::to_string(reading.year)},
            "a saved file reads back as the reading it was saved from");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    checkFileContents({reinterpret_cast<const char*>(data), size});
    FuzzedDataProvider provider(data, size);
    checkSavedReading(provider);
    return 0;
}
