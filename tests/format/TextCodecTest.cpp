#include "format/TextCodec.h"

#include "format/Windows1252.h"

#include <gtest/gtest.h>

namespace {

std::string bytes(std::initializer_list<unsigned char> values) {
    return {values.begin(), values.end()};
}

TEST(TextCodec, encodeShiftsEveryByteUpAndDecodeBringsItBack) {
    EXPECT_EQ(EncodeText("abc"), bytes({0xB6, 0xB7, 0xB8}));
    EXPECT_EQ(DecodeText(bytes({0xB6, 0xB7, 0xB8})), "abc");
    EXPECT_EQ(EncodeText(""), "");
    EXPECT_EQ(DecodeText(""), "");

    std::string everyEncodable;
    for (int b = 0; b <= 170; ++b)
        everyEncodable.push_back(static_cast<char>(b));
    EXPECT_EQ(DecodeText(EncodeText(everyEncodable)), everyEncodable);
}

TEST(TextCodec, bytesThatWouldLeaveTheRangeAreDropped) {
    // A guillemet (171) and an e with an acute accent (233) cannot be encoded.
    EXPECT_EQ(EncodeText(bytes({'A', 171, 'B', 233, 255, 'C'})), EncodeText("ABC"));
    // Digits and line ends lie below 85 and so cannot come out of an encoded text.
    EXPECT_EQ(DecodeText("7\n" + EncodeText("ANN") + "\r"), "ANN");
    EXPECT_EQ(DecodeText(bytes({84, 85, 0})), bytes({0}));
}

TEST(TextCodec, encodedTextNeverHoldsALineEnd) {
    std::string all;
    for (int b = 0; b <= 255; ++b)
        all.push_back(static_cast<char>(b));
    const std::string encoded = EncodeText(all);
    EXPECT_EQ(encoded.size(), 171u);
    EXPECT_EQ(encoded.find_first_of("\r\n"), std::string::npos);
}

TEST(Windows1252, convertsBothWaysIncludingTheHighRange) {
    EXPECT_EQ(windows1252FromUtf8("ANN LEE"), "ANN LEE");
    EXPECT_EQ(windows1252FromUtf8("\u20AC \u00E9 \u0178"), bytes({0x80, ' ', 0xE9, ' ', 0x9F}));
    EXPECT_EQ(utf8FromWindows1252(bytes({0x80, 0xE9, 0x9F})), "\u20AC\u00E9\u0178");

    std::string all;
    for (int b = 0; b <= 255; ++b)
        all.push_back(static_cast<char>(b));
    EXPECT_EQ(windows1252FromUtf8(utf8FromWindows1252(all)), all);
}

TEST(Windows1252, charactersOutsideTheCodePageAndBrokenSequencesBecomeQuestionMarks) {
    EXPECT_EQ(windows1252FromUtf8("A\u4E2DB"), "A?B");
    EXPECT_EQ(windows1252FromUtf8("A\U0001F600B"), "A?B");
    // A lone continuation byte, a truncated sequence, an overlong form and a surrogate.
    EXPECT_EQ(windows1252FromUtf8(bytes({'A', 0x80, 'B'})), "A?B");
    EXPECT_EQ(windows1252FromUtf8(bytes({'A', 0xE2, 0x82})), "A?");
    EXPECT_EQ(windows1252FromUtf8(bytes({0xC0, 0xAF})), "?");
    EXPECT_EQ(windows1252FromUtf8(bytes({0xED, 0xA0, 0x80})), "?");
}

} // namespace
