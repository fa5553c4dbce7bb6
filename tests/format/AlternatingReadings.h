#pragma once

#include "engine/NodeReading.h"

#include <array>

// The two readings that SaveLoop writes in turn. Their files differ in every line and in
// length, so a file mixing them, or cut short, matches neither.
inline std::array<NodeReading, 2> alternatingReadings() {
    std::array<NodeReading, 2> readings;
    readings[0].name = "ANN LEE";
    readings[0].day = 29;
    readings[0].monthName = "February";
    readings[0].year = 1964;
    readings[1].name = "MARY JANE WATSON";
    readings[1].day = 31;
    readings[1].monthName = "December";
    readings[1].year = 2009;
    return readings;
}
