#pragma once

#include <string>
#include <string_view>

// The scrambling of reading files and stored settings. It works on single
// bytes and has no key: it keeps text from reading as plain text, nothing more.

// Adds 85 to every byte; bytes from 171 up, which would pass 255, are dropped.
std::string encodeText(std::string_view plain);

// Subtracts 85 from every byte; bytes below 85 are dropped.
std::string decodeText(std::string_view encoded);
