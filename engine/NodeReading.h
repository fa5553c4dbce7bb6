#pragma once

#include <cstdint>
#include <string>

// A zodiac sign carried as its English name. Names are compared exactly; the
// table spells the eleventh North sign "Aquarious" and that spelling is the key.
using Sign = std::string;

// The reading on screen. Only the birth data and the two signs live here: the
// keywords and descriptions belong to whatever shows them. Text is UTF-8.
struct NodeReading {
    std::string name;
    std::int16_t year = 0;
    std::string monthName;
    std::int16_t day = 0;
    Sign northSign;
    Sign southSign;
};

// The one reading of the running program. Nothing clears it: each reading
// overwrites the fields it writes.
NodeReading& currentReading();
