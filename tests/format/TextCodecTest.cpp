// Worked examples; the fuzzers check the same properties on arbitrary bytes.
#include "format/TextCodec.h"

#include "format/Windows1252.h"

#include <gtest/gtest.h>

namespace {

TEST(TextCodec, shiftsBytesBy85AndDropsThoseThatWouldLeaveTheRange) {
    EXPECT_EQ(EncodeText("abc"), "\xB6\xB7\xB8");
    EXPECT_EQ(DecodeText("\xB6\xB7\xB8"), "abc");
    // A guillemet (171) and an e with an acute accent (233) cannot be encoded.
    EXPECT_EQ(EncodeText("A\xAB"
                         "B\xE9\xFF"
                         "C"),
              EncodeText("ABC"));
    // Digits and line ends lie below 85, so decoding drops them.
    EXPECT_EQ(DecodeText("7\n" + EncodeText("ANN") + "\r"), "ANN");
}

TEST(Windows1252, convertsBothWaysAndMarksWhatItCannotHold) {
    EXPECT_EQ(windows1252FromUtf8("\u20AC \u00E9 \u0178"), "\x80 \xE9 \x9F");
    EXPECT_EQ(utf8FromWindows1252("\x80\xE9\x9F"), "\u20AC\u00E9\u0178");
    // A character outside the code page, a lone continuation byte, a cut sequence, an
    // overlong form and a surrogate.
    EXPECT_EQ(windows1252FromUtf8("A\u4E2D\U0001F600B"), "A??B");
    EXPECT_EQ(windows1252FromUtf8("A\x80"
                                  "B\xE2\x82"),
              "A?B?");
    EXPECT_EQ(windows1252FromUtf8("\xC0\xAF\xED\xA0\x80"), "??");
}

} // namespace
