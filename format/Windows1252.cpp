#include "format/Windows1252.h"

#include <algorithm>
#include <array>
#include <optional>

namespace {

// Characters of bytes 0x80 to 0x9F; every other byte is the Latin-1 character of its number.
constexpr std::array<char32_t, 32> kHighControlRange{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr char32_t characterOf(unsigned char byte) {
    return byte >= 0x80 && byte <= 0x9F ? kHighControlRange[byte - 0x80u] : byte;
}

std::optional<unsigned char> byteOf(char32_t character) {
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF))
        return static_cast<unsigned char>(character);
    const auto found = std::ranges::find(kHighControlRange, character);
    if (found == kHighControlRange.end())
        return std::nullopt;
    return static_cast<unsigned char>(0x80 + (found - kHighControlRange.begin()));
}

void appendUtf8(std::string& out, char32_t c) {
    const auto put = [&out](unsigned value) {
        out.push_back(static_cast<char>(value));
    };
    if (c < 0x80) {
        put(static_cast<unsigned>(c));
    } else if (c < 0x800) {
        put(0xC0 | (c >> 6));
        put(0x80 | (c & 0x3F));
    } else {
        // Every character of the code page lies in the Basic Multilingual Plane.
        put(0xE0 | (c >> 12));
        put(0x80 | ((c >> 6) & 0x3F));
        put(0x80 | (c & 0x3F));
    }
}

// Decodes the UTF-8 character at `pos` and moves past it. A malformed sequence gives
// nullopt and `pos` moves past the bytes that were read of it.
std::optional<char32_t> nextUtf8(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos++]);
    if (lead < 0x80)
        return lead;
    int continuation = 0;
    char32_t smallest = 0;
    if ((lead & 0xE0) == 0xC0) {
        continuation = 1;
        smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        continuation = 2;
        smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        continuation = 3;
        smallest = 0x10000;
    } else {
        return std::nullopt;
    }
    char32_t value = lead & (0x3Fu >> continuation);
    for (int i = 0; i < continuation; ++i) {
        if (pos >= text.size())
            return std::nullopt;
        const auto next = static_cast<unsigned char>(text[pos]);
        if ((next & 0xC0) != 0x80)
            return std::nullopt;
        value = (value << 6) | (next & 0x3Fu);
        ++pos;
    }
    const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
    if (value < smallest || value > 0x10FFFF || surrogate)
        return std::nullopt;
    return value;
}

} // namespace

std::string windows1252FromUtf8(std::string_view utf8) {
    std::string bytes;
    bytes.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        const auto character = nextUtf8(utf8, pos);
        const auto byte = character ? byteOf(*character) : std::nullopt;
        bytes.push_back(static_cast<char>(byte.value_or('?')));
    }
    return bytes;
}

std::string utf8FromWindows1252(std::string_view bytes) {
    std::string utf8;
    utf8.reserve(bytes.size() * 2);
    for (const char c : bytes)
        appendUtf8(utf8, characterOf(static_cast<unsigned char>(c)));
    return utf8;
}
