#include "engine/SignCatalogue.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <tuple>

namespace {

// Each sign with how its North and South descriptions open, which ties them to it (Cancer's two
// open alike), and their lengths, which any change to their words or to how pieces join alters.
using DescriptionFacts =
    std::tuple<const char*, const char*, const char*, std::size_t, std::size_t>;
const DescriptionFacts kDescriptions[] = {
    {"Libra", "North Node in Libra denotes", "South Node in Aries denotes", 907, 907},
    {"Virgo", "North Node in Virgo denotes", "South Node in Pisces denotes", 755, 756},
    {"Leo", "North Node in Leo indicates", "South Node in Aquarius indicates", 1195, 1197},
    {"Cancer", "Learn how to accept", "Learn how to accept", 840, 839},
    {"Gemini", "With your north node in Gemini", "With your south Node in Sagittarius", 782, 787},
    {"Taurus", "North Node in Taurus denotes", "South Node in Scorpio denotes", 914, 929},
    {"Aries", "With your North node in Aries you", "With your South Node in Libra you", 963, 961},
    {"Pisces", "North node in Pisces denotes", "South Node in Virgo denotes", 541, 540},
    {"Aquarious", "North Node in Aquarius denotes", "South Node in Leo denotes", 719, 714},
    {"Capricorn", "North Node in Capricorn denotes", "South Node in Cancer denotes", 695, 692},
    {"Sagittarius", "North node in Sagittarius denotes", "South Node in Gemini denotes", 770, 766},
    {"Scorpio", "North Node is Scorpio denotes", "South Node in Taurus denotes", 742, 740},
};

TEST(SignCatalogue,
     keysMatchExactly_descriptionsHaveTheirOpeningsAndLengths_inAsciiEndingInAFullStop) {
    ASSERT_EQ(signCatalogue().size(), std::size(kDescriptions));
    for (const auto& [sign, northHead, southHead, northLength, southLength] : kDescriptions) {
        SCOPED_TRACE(sign);
        const SignCatalogueEntry* entry = findSignCatalogueEntry(sign);
        ASSERT_NE(entry, nullptr);
        const std::string north = entry->northDescription(), south = entry->southDescription();
        EXPECT_TRUE(north.starts_with(northHead));
        EXPECT_TRUE(south.starts_with(southHead));
        EXPECT_EQ(north.size(), northLength);
        EXPECT_EQ(south.size(), southLength);
        // The Scorpio North text alone ends in a space after its full stop.
        EXPECT_TRUE(north.ends_with(entry->northSign == "Scorpio" ? ". " : "."));
        EXPECT_TRUE(south.ends_with("."));
        EXPECT_TRUE(
            std::ranges::all_of(north + south, [](char c) { return c >= ' ' && c <= '~'; }));
    }
    // Keys match exactly. What the catalogue hands over for each sign, the reading window shows
    // and its tests check.
    for (const char* other : {"", "Aquarius", "scorpio", "Scorpio "})
        EXPECT_EQ(findSignCatalogueEntry(other), nullptr) << other;
}

} // namespace
