#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>

// A broken property aborts, which libFuzzer reports as a crash and saves the input.
inline void require(bool holds, const char* property) {
    if (holds)
        return;
    std::fprintf(stderr, "property broken: %s\n", property);
    std::abort();
}

// Well-formed UTF-8 as the Unicode standard tabulates it (no overlong forms, no
// surrogates, nothing past U+10FFFF), written apart from the converter it checks.
inline bool isWellFormedUtf8(std::string_view text) {
    const auto at = [&text](std::size_t i) {
        return static_cast<unsigned char>(text[i]);
    };
    const auto inRange = [](unsigned char byte, unsigned low, unsigned high) {
        return byte >= low && byte <= high;
    };
    std::size_t i = 0;
    while (i < text.size()) {
        const unsigned char lead = at(i);
        std::size_t length = 0;
        unsigned secondLow = 0x80;
        unsigned secondHigh = 0xBF;
        if (lead <= 0x7F) {
            length = 1;
        } else if (inRange(lead, 0xC2, 0xDF)) {
            length = 2;
        } else if (inRange(lead, 0xE0, 0xEF)) {
            length = 3;
            if (lead == 0xE0)
                secondLow = 0xA0;
            if (lead == 0xED)
                secondHigh = 0x9F;
        } else if (inRange(lead, 0xF0, 0xF4)) {
            length = 4;
            if (lead == 0xF0)
                secondLow = 0x90;
            if (lead == 0xF4)
                secondHigh = 0x8F;
        } else {
            return false;
        }
        if (i + length > text.size())
            return false;
        if (length > 1 && !inRange(at(i + 1), secondLow, secondHigh))
            return false;
        for (std::size_t k = 2; k < length; ++k)
            if (!inRange(at(i + k), 0x80, 0xBF))
                return false;
        i += length;
    }
    return true;
}
