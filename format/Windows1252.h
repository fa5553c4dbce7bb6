#pragma once

#include <string>
#include <string_view>

// Reading files hold single-byte Windows-1252 text; the program's own text is
// UTF-8. Our own table, so the result does not depend on how a toolkit was built.

// A character the code page cannot hold, or a malformed UTF-8 sequence, becomes '?'.
std::string windows1252FromUtf8(std::string_view utf8);

// Every byte has a character: the five bytes the code page leaves undefined
// map to the C1 control characters of the same number, so text round-trips.
std::string utf8FromWindows1252(std::string_view bytes);
