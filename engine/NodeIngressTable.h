#pragma once

#include "engine/NodeReading.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

struct IngressDate {
    int year;
    int month; // 1 to 12
    int day;   // 1 to 31

    friend constexpr auto operator<=>(const IngressDate&, const IngressDate&) = default;
};

// The North Node stands in `sign` from `entry` up to the day before the next row's entry.
struct NodeIngress {
    IngressDate entry;
    std::string_view sign;
};

inline constexpr int kFirstTableYear = 1940;
inline constexpr int kLastTableYear = 2009;

// The 46 rows from 1 January 1940 to the last ingress of 2009, in date order.
std::span<const NodeIngress> nodeIngressTable();

// The North Node's sign on a date given as a year and zero-based month and day
// positions. Positions are not checked against the calendar: 30 February sorts
// after 29 February. Nothing is found for a year that is not a whole number
// from 1940 to 2009.
std::optional<std::string_view> northNodeSignAt(double year, std::int16_t monthIndex,
                                                std::int16_t dayIndex);

// Stores the sign found as the reading's North sign; when none is found the
// reading keeps the sign it had.
void lookUpNorthNodeSign(NodeReading& reading, double year, std::int16_t monthIndex,
                         std::int16_t dayIndex);
