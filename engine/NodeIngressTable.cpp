#include "engine/NodeIngressTable.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr std::array<NodeIngress, 46> kIngresses{{
    {{1940, 1, 1}, "Libra"},       {{1941, 5, 25}, "Virgo"},        {{1942, 11, 22}, "Leo"},
    {{1944, 5, 12}, "Cancer"},     {{1945, 12, 4}, "Gemini"},       {{1947, 8, 3}, "Taurus"},
    {{1949, 1, 27}, "Aries"},      {{1950, 7, 27}, "Pisces"},       {{1952, 3, 29}, "Aquarious"},
    {{1953, 10, 10}, "Capricorn"}, {{1955, 4, 3}, "Sagittarius"},   {{1956, 10, 5}, "Scorpio"},
    {{1958, 6, 17}, "Libra"},      {{1959, 12, 16}, "Virgo"},       {{1961, 6, 11}, "Leo"},
    {{1962, 12, 24}, "Cancer"},    {{1964, 8, 26}, "Gemini"},       {{1966, 2, 20}, "Taurus"},
    {{1967, 8, 20}, "Aries"},      {{1969, 4, 20}, "Pisces"},       {{1970, 11, 3}, "Aquarious"},
    {{1972, 4, 28}, "Capricorn"},  {{1973, 10, 28}, "Sagittarius"}, {{1975, 8, 10}, "Scorpio"},
    {{1977, 1, 8}, "Libra"},       {{1978, 7, 6}, "Virgo"},         {{1980, 1, 6}, "Leo"},
    {{1981, 9, 25}, "Cancer"},     {{1983, 3, 17}, "Gemini"},       {{1984, 9, 12}, "Taurus"},
    {{1986, 4, 7}, "Aries"},       {{1987, 12, 3}, "Pisces"},       {{1989, 5, 23}, "Aquarious"},
    {{1990, 11, 19}, "Capricorn"}, {{1992, 9, 2}, "Sagittarius"},   {{1994, 2, 2}, "Scorpio"},
    {{1995, 8, 1}, "Libra"},       {{1997, 1, 26}, "Virgo"},        {{1998, 10, 21}, "Leo"},
    {{2000, 4, 10}, "Cancer"},     {{2001, 10, 14}, "Gemini"},      {{2003, 4, 15}, "Taurus"},
    {{2004, 12, 27}, "Aries"},     {{2006, 6, 23}, "Pisces"},       {{2007, 12, 12}, "Aquarious"},
    {{2009, 8, 22}, "Capricorn"},
}};

static_assert(std::ranges::is_sorted(kIngresses, {}, &NodeIngress::entry));

} // namespace

std::span<const NodeIngress> nodeIngressTable() {
    return kIngresses;
}

std::optional<std::string_view> northNodeSignAt(double year, std::int16_t monthIndex,
                                                std::int16_t dayIndex) {
    // Also false for NaN, so no further test is needed before the conversion.
    if (!(year >= kFirstTableYear && year <= kLastTableYear) || std::trunc(year) != year)
        return std::nullopt;
    const int wholeYear = static_cast<int>(year);
    // The table opens on 1 January 1940, so the whole of that year is its first sign.
    if (wholeYear == kFirstTableYear)
        return kIngresses.front().sign;

    const IngressDate date{wholeYear, monthIndex + 1, dayIndex + 1};
    // The last row entered on or before the date: an entry day already has the new sign.
    const auto after = std::ranges::upper_bound(kIngresses, date, {}, &NodeIngress::entry);
    return std::prev(after)->sign;
}

void lookUpNorthNodeSign(NodeReading& reading, double year, std::int16_t monthIndex,
                         std::int16_t dayIndex) {
    if (const auto sign = northNodeSignAt(year, monthIndex, dayIndex))
        reading.northSign = *sign;
}
