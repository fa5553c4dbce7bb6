// Properties of the codec and the Windows-1252 conversion on arbitrary bytes.
#include "FuzzChecks.h"
#include "format/TextCodec.h"
#include "format/Windows1252.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

namespace {

unsigned char byteAt(const std::string& text, std::size_t i) {
    return static_cast<unsigned char>(text[i]);
}

std::string without(std::string text, bool (*dropped)(unsigned char)) {
    std::erase_if(text, [dropped](char c) { return dropped(static_cast<unsigned char>(c)); });
    return text;
}

void checkCodec(const std::string& input) {
    const std::string encoded = encodeText(input);
    require(encoded.size() <= input.size(), "encoding never lengthens a text");
    for (std::size_t i = 0; i < encoded.size(); ++i)
        require(byteAt(encoded, i) >= 85, "an encoded byte is never below 85, so never CR or LF");
    const std::string encodable = without(input, [](unsigned char b) { return b > 170; });
    require(decodeText(encoded) == encodable, "decoding gives back every byte up to 170");

    const std::string decoded = decodeText(input);
    require(decoded.size() <= input.size(), "decoding never lengthens a text");
    const std::string decodable = without(input, [](unsigned char b) { return b < 85; });
    require(encodeText(decoded) == decodable, "encoding gives back every byte from 85");
}

void checkWindows1252(const std::string& input) {
    const std::string utf8 = utf8FromWindows1252(input);
    require(isWellFormedUtf8(utf8), "every byte becomes well-formed UTF-8");
    require(windows1252FromUtf8(utf8) == input, "the bytes come back from their UTF-8");

    const std::string bytes = windows1252FromUtf8(input);
    require(bytes.size() <= input.size(), "conversion to bytes never lengthens a text");
    if (!isWellFormedUtf8(input))
        return;
    const auto characters = std::ranges::count_if(
        input, [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; });
    require(std::cmp_equal(bytes.size(), characters), "one byte for each character");
    const bool substituted = std::ranges::count(bytes, '?') != std::ranges::count(input, '?');
    require(substituted || utf8FromWindows1252(bytes) == input,
            "text within the code page comes back unchanged");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    checkCodec(input);
    checkWindows1252(input);
    return 0;
}
