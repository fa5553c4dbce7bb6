#include "engine/SignCatalogue.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

namespace {

// Each description opens with its node's own words and then a sentence it shares with
// the other node's description.
struct DescriptionFacts {
    const char* sign;
    const char* northHead;
    const char* southHead;
    const char* sharedTail;
    std::size_t northLength;
    std::size_t southLength;
};

const DescriptionFacts kDescriptionFacts[] = {
    {"Libra", "North Node in Libra", "South Node in Aries",
     " denotes that you need to understand and develop your abilities to listen, understand and "
     "acknowledge the contrasting points of view.",
     907, 907},
    {"Virgo", "North Node in Virgo", "South Node in Pisces",
     " denotes that you are too kind, warm hearted and generous a person.", 755, 756},
    {"Leo", "North Node in Leo", "South Node in Aquarius",
     " indicates that you need to learn and permit yourself to shine.", 1195, 1197},
    {"Cancer", "", "", "Learn how to accept and acknowledge the help received from others.", 840,
     839},
    {"Gemini", "With your north node in Gemini", "With your south Node in Sagittarius",
     " try and express yourself all the more.", 782, 787},
    {"Taurus", "North Node in Taurus", "South Node in Scorpio",
     " denotes that you have to work to develop your patience and determination.", 914, 929},
    {"Aries", "With your North node in Aries", "With your South Node in Libra",
     " you need to work a lot for developing a healthy self interest.", 963, 961},
    {"Pisces", "North node in Pisces", "South Node in Virgo",
     " denotes that you worry unnecessarily and are often plagued by vague issues.", 541, 540},
    {"Aquarious", "North Node in Aquarius", "South Node in Leo",
     " denotes that you tend to become very much attached to love, romance and all kinds of "
     "personal relationship.",
     719, 714},
    {"Capricorn", "North Node in Capricorn", "South Node in Cancer",
     " denotes that you have a tendency to be overly attached with your childhood days and with "
     "your past life.",
     695, 692},
    {"Sagittarius", "North node in Sagittarius", "South Node in Gemini",
     " denotes that you are so very simulative that you are not able to take effective and "
     "correct decision at the correct time.",
     770, 766},
    {"Scorpio", "North Node is Scorpio", "South Node in Taurus",
     " denotes that you are self-reliant and overconfident about yourself.", 742, 740},
};

TEST(SignCatalogue,
     keysMatchExactly_descriptionsHaveTheirOpeningsAndLengths_inAsciiEndingInAFullStop) {
    ASSERT_EQ(signCatalogue().size(), std::size(kDescriptionFacts));
    for (const DescriptionFacts& facts : kDescriptionFacts) {
        SCOPED_TRACE(facts.sign);
        const SignCatalogueEntry* entry = findSignCatalogueEntry(facts.sign);
        ASSERT_NE(entry, nullptr);
        const std::string north = entry->northDescription(), south = entry->southDescription();
        EXPECT_TRUE(north.starts_with(std::string(facts.northHead) + facts.sharedTail));
        EXPECT_TRUE(south.starts_with(std::string(facts.southHead) + facts.sharedTail));
        EXPECT_EQ(north.size(), facts.northLength);
        EXPECT_EQ(south.size(), facts.southLength);
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
    // Leo's two pieces are joined with nothing between them.
    const SignCatalogueEntry& leo = *findSignCatalogueEntry("Leo");
    EXPECT_NE(leo.northDescription().find("others.Never jump"), std::string::npos);
    EXPECT_NE(leo.southDescription().find("fashions.You are however"), std::string::npos);
}

} // namespace
