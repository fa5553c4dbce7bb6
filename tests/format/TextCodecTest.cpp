// The edges of the ranges; the reading file's tests give worked examples, and the fuzzers check
// the same properties on arbitrary bytes.
#include "format/TextCodec.h"

#include "format/Windows1252.h"

#include <gtest/gtest.h>

namespace {

using namespace std::string_literals;

TEST(TextCodec, shiftsBytesBy85AndDropsThoseThatWouldLeaveTheRange) {
    EXPECT_EQ(encodeText("\0\xAA\xAB\xFF"s), "\x55\xFF");
    EXPECT_EQ(decodeText("\x54\x55\xFF"), "\0\xAA"s);
}

TEST(Windows1252, convertsBothWaysAndMarksWhatItCannotHold) {
    EXPECT_EQ(windows1252FromUtf8("\u20AC \u00E9 \u0178"), "\x80 \xE9 \x9F");
    EXPECT_EQ(utf8FromWindows1252("\x80\xE9\x9F"), "\u20AC\u00E9\u0178");
    // Characters outside the code page, a lone continuation byte, an overlong form, a surrogate
    // and a cut sequence.
    EXPECT_EQ(windows1252FromUtf8("A\u4E2D\U0001F600B\x80"
                                  "C\xC0\xAF\xED\xA0\x80"
                                  "D\xE2\x82"),
              "A??B?C??D?");
}

} // namespace
