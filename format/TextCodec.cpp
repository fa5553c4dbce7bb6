#include "format/TextCodec.h"

namespace {

constexpr unsigned kShift = 85;

} // namespace

std::string encodeText(std::string_view plain) {
    std::string encoded;
    encoded.reserve(plain.size());
    for (const char c : plain) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte + kShift <= 255)
            encoded.push_back(static_cast<char>(byte + kShift));
    }
    return encoded;
}

std::string decodeText(std::string_view encoded) {
    std::string plain;
    plain.reserve(encoded.size());
    for (const char c : encoded) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= kShift)
            plain.push_back(static_cast<char>(byte - kShift));
    }
    return plain;
}
