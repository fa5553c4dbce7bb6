#include "engine/NodeIngressTable.h"

#include <chrono>
#include <cmath>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace {

using namespace std::chrono;

// The last day of each sign, written from the published ingress list independently of the
// entry dates the lookup uses, so the two halves of the table check each other.
const std::vector<std::pair<year_month_day, std::string_view>> kLastDays{
    {1941y / 5 / 24, "Libra"},      {1942y / 11 / 21, "Virgo"},      {1944y / 5 / 11, "Leo"},
    {1945y / 12 / 3, "Cancer"},     {1947y / 8 / 2, "Gemini"},       {1949y / 1 / 26, "Taurus"},
    {1950y / 7 / 26, "Aries"},      {1952y / 3 / 28, "Pisces"},      {1953y / 10 / 9, "Aquarious"},
    {1955y / 4 / 2, "Capricorn"},   {1956y / 10 / 4, "Sagittarius"}, {1958y / 6 / 16, "Scorpio"},
    {1959y / 12 / 15, "Libra"},     {1961y / 6 / 10, "Virgo"},       {1962y / 12 / 23, "Leo"},
    {1964y / 8 / 25, "Cancer"},     {1966y / 2 / 19, "Gemini"},      {1967y / 8 / 19, "Taurus"},
    {1969y / 4 / 19, "Aries"},      {1970y / 11 / 2, "Pisces"},      {1972y / 4 / 27, "Aquarious"},
    {1973y / 10 / 27, "Capricorn"}, {1975y / 8 / 9, "Sagittarius"},  {1977y / 1 / 7, "Scorpio"},
    {1978y / 7 / 5, "Libra"},       {1980y / 1 / 5, "Virgo"},        {1981y / 9 / 24, "Leo"},
    {1983y / 3 / 16, "Cancer"},     {1984y / 9 / 11, "Gemini"},      {1986y / 4 / 6, "Taurus"},
    {1987y / 12 / 2, "Aries"},      {1989y / 5 / 22, "Pisces"},      {1990y / 11 / 18, "Aquarious"},
    {1992y / 9 / 1, "Capricorn"},   {1994y / 2 / 1, "Sagittarius"},  {1995y / 7 / 31, "Scorpio"},
    {1997y / 1 / 25, "Libra"},      {1998y / 10 / 20, "Virgo"},      {2000y / 4 / 9, "Leo"},
    {2001y / 10 / 13, "Cancer"},    {2003y / 4 / 14, "Gemini"},      {2004y / 12 / 26, "Taurus"},
    {2006y / 6 / 22, "Aries"},      {2007y / 12 / 11, "Pisces"},     {2009y / 8 / 21, "Aquarious"},
    {2009y / 12 / 31, "Capricorn"},
};

std::optional<std::string_view> signOn(int year, unsigned month, unsigned day) {
    return northNodeSignAt(year, static_cast<std::int16_t>(month - 1),
                           static_cast<std::int16_t>(day - 1));
}

TEST(NodeIngressTable, everyDayFrom1940To2009_matchesTheLastDayOfItsSign) {
    auto period = kLastDays.begin();
    for (sys_days day = sys_days{1940y / 1 / 1}; day <= sys_days{2009y / 12 / 31}; day += days{1}) {
        const year_month_day date{day};
        if (date > period->first)
            ++period;
        ASSERT_NE(period, kLastDays.end());
        ASSERT_EQ(signOn(int(date.year()), unsigned(date.month()), unsigned(date.day())),
                  period->second)
            << int(date.year()) << "-" << unsigned(date.month()) << "-" << unsigned(date.day());
    }
}

TEST(NodeIngressTable,
     positionsAreNotCheckedAgainstTheCalendar_yearsOutsideFindNothingAndChangeNoReading) {
    // 1941 changes sign on 25 May: "31 April" still comes before it, "32 May" after it.
    EXPECT_EQ(signOn(1941, 4, 31), "Libra");
    EXPECT_EQ(signOn(1941, 5, 32), "Virgo");
    EXPECT_EQ(northNodeSignAt(1940, -1, -1), "Libra");
    NodeReading reading;
    lookUpNorthNodeSign(reading, 1975, 7, 9);
    for (const double year : {1939.0, 2010.0, 1975.5, std::nan(""), HUGE_VAL}) {
        EXPECT_EQ(northNodeSignAt(year, 0, 0), std::nullopt) << year;
        lookUpNorthNodeSign(reading, year, 0, 0);
    }
    EXPECT_EQ(reading.northSign, "Scorpio") << "stored, and kept when nothing is found";
}

} // namespace
