#include "engine/SignCatalogue.h"

#include "engine/SignDescriptions.h"

#include <algorithm>
#include <cctype>
#include <gtest/gtest.h>
#include <iterator>
#include <set>
#include <sstream>
#include <vector>

namespace {

// Records what the catalogue hands over, in order.
struct RecordedTexts : ReadingTexts {
    std::vector<std::string> calls;
    void setNorthKeywords(std::string_view text) override { record("north keywords: ", text); }
    void setNorthDescription(std::string_view text) override { record("north text: ", text); }
    void setSouthKeywords(std::string_view text) override { record("south keywords: ", text); }
    void setSouthDescription(std::string_view text) override { record("south text: ", text); }
    void record(const char* what, std::string_view text) {
        calls.push_back(what + std::string(text.substr(0, 25)));
    }
};

TEST(ApplySignCatalogue, storesTheSouthSignAndHandsOverTheTextsInOrder) {
    NodeReading reading;
    reading.northSign = "Scorpio";
    RecordedTexts texts;
    ApplySignCatalogue(reading, texts);
    EXPECT_EQ(reading.southSign, "Taurus");
    EXPECT_EQ(texts.calls,
              (std::vector<std::string>{"north keywords: Stubborn and Self-Reliant",
                                        "north text: North Node is Scorpio den",
                                        "south keywords: Stubborn and Self-reliant",
                                        "south text: South Node in Taurus deno"}));

    // The eleventh sign is spelled one way as a North key and another as a South sign.
    for (const auto& [north, south] : {std::pair{"Aquarious", "Leo"}, {"Leo", "Aquarius"}}) {
        reading.northSign = north;
        ApplySignCatalogue(reading, texts);
        EXPECT_EQ(reading.southSign, south);
    }
}

TEST(ApplySignCatalogue, unknownOrDifferentlySpelledSign_changesNothing) {
    for (const char* sign : {"", "Aquarius", "scorpio", "Scorpio "}) {
        NodeReading reading;
        reading.northSign = sign;
        reading.southSign = "Virgo";
        RecordedTexts texts;
        ApplySignCatalogue(reading, texts);
        EXPECT_EQ(reading.southSign, "Virgo") << sign;
        EXPECT_TRUE(texts.calls.empty()) << sign;
    }
}

struct DescriptionFacts {
    const char* sign;
    const char* northOpening;
    std::size_t northLength;
    const char* southOpening;
    std::size_t southLength;
};

const std::vector<DescriptionFacts> kDescriptionFacts{
    {"Libra",
     "North Node in Libra denotes that you need to understand and develop your abilities to "
     "listen, understand and acknowledge the contrasting points of view.",
     907,
     "South Node in Aries denotes that you need to understand and develop your abilities to "
     "listen, understand and acknowledge the contrasting points of view.",
     907},
    {"Virgo",
     "North Node in Virgo denotes that you are too kind, warm hearted and generous a person.", 755,
     "South Node in Pisces denotes that you are too kind, warm hearted and generous a person.",
     756},
    {"Leo", "North Node in Leo indicates that you need to learn and permit yourself to shine.",
     1195, "South Node in Aquarius indicates that you need to learn and permit yourself to shine.",
     1197},
    {"Cancer", "Learn how to accept and acknowledge the help received from others.", 840,
     "Learn how to accept and acknowledge the help received from others.", 839},
    {"Gemini", "With your north node in Gemini try and express yourself all the more.", 782,
     "With your south Node in Sagittarius try and express yourself all the more.", 787},
    {"Taurus",
     "North Node in Taurus denotes that you have to work to develop your patience and "
     "determination.",
     914,
     "South Node in Scorpio denotes that you have to work to develop your patience and "
     "determination.",
     929},
    {"Aries",
     "With your North node in Aries you need to work a lot for developing a healthy self "
     "interest.",
     963,
     "With your South Node in Libra you need to work a lot for developing a healthy self "
     "interest.",
     961},
    {"Pisces",
     "North node in Pisces denotes that you worry unnecessarily and are often plagued by vague "
     "issues.",
     541,
     "South Node in Virgo denotes that you worry unnecessarily and are often plagued by vague "
     "issues.",
     540},
    {"Aquarious",
     "North Node in Aquarius denotes that you tend to become very much attached to love, romance "
     "and all kinds of personal relationship.",
     719,
     "South Node in Leo denotes that you tend to become very much attached to love, romance and "
     "all kinds of personal relationship.",
     714},
    {"Capricorn",
     "North Node in Capricorn denotes that you have a tendency to be overly attached with your "
     "childhood days and with your past life.",
     695,
     "South Node in Cancer denotes that you have a tendency to be overly attached with your "
     "childhood days and with your past life.",
     692},
    {"Sagittarius",
     "North node in Sagittarius denotes that you are so very simulative that you are not able to "
     "take effective and correct decision at the correct time.",
     770,
     "South Node in Gemini denotes that you are so very simulative that you are not able to take "
     "effective and correct decision at the correct time.",
     766},
    {"Scorpio",
     "North Node is Scorpio denotes that you are self-reliant and overconfident about yourself.",
     742,
     "South Node in Taurus denotes that you are self-reliant and overconfident about yourself.",
     740},
};

std::vector<std::string> wordsOf(const std::string& text) {
    std::istringstream stream(text);
    return {std::istream_iterator<std::string>(stream), std::istream_iterator<std::string>()};
}

// How much of the shorter text's wording the other keeps in the same order.
double sharedWordRatio(const std::string& a, const std::string& b) {
    const auto x = wordsOf(a), y = wordsOf(b);
    std::vector<std::vector<std::size_t>> common(x.size() + 1,
                                                 std::vector<std::size_t>(y.size() + 1));
    for (std::size_t i = 1; i <= x.size(); ++i)
        for (std::size_t j = 1; j <= y.size(); ++j)
            common[i][j] = x[i - 1] == y[j - 1] ? common[i - 1][j - 1] + 1
                                                : std::max(common[i - 1][j], common[i][j - 1]);
    return double(common[x.size()][y.size()]) / double(std::min(x.size(), y.size()));
}

std::vector<std::string> sentencesOf(const std::string& text) {
    std::vector<std::string> sentences;
    std::string current;
    for (const char c : text) {
        current += c;
        if (c == '.' || c == '!' || c == '?') {
            sentences.push_back(current.substr(current.find_first_not_of(' ')));
            current.clear();
        }
    }
    return sentences;
}

TEST(SignCatalogue, descriptionsHaveTheirOpeningsAndLengths) {
    for (const DescriptionFacts& facts : kDescriptionFacts) {
        SCOPED_TRACE(facts.sign);
        const SignCatalogueEntry* entry = findSignCatalogueEntry(facts.sign);
        ASSERT_NE(entry, nullptr);
        const std::string north = entry->northDescription();
        const std::string south = entry->southDescription();
        EXPECT_TRUE(north.starts_with(facts.northOpening)) << north.substr(0, 120);
        EXPECT_TRUE(south.starts_with(facts.southOpening)) << south.substr(0, 120);
        EXPECT_EQ(north.size(), facts.northLength);
        EXPECT_EQ(south.size(), facts.southLength);
    }
}

TEST(SignCatalogue, descriptionsAreParagraphsOfPlainAsciiSentencesEndingInAFullStop) {
    for (const auto& entry : signCatalogue()) {
        // The Scorpio North text alone ends in a space after its full stop.
        EXPECT_TRUE(entry.northDescription().ends_with(entry.northSign == "Scorpio" ? ". " : "."));
        EXPECT_TRUE(entry.southDescription().ends_with("."));
        for (const std::string& text : {entry.northDescription(), entry.southDescription()}) {
            SCOPED_TRACE(text.substr(0, 40));
            EXPECT_TRUE(std::ranges::all_of(text, [](char c) { return c >= ' ' && c <= '~'; }));
            EXPECT_TRUE(std::isalpha(static_cast<unsigned char>(text.front())));
            EXPECT_EQ(text.find("  "), std::string::npos);
            const auto sentences = sentencesOf(text);
            EXPECT_EQ(std::set<std::string>(sentences.begin(), sentences.end()).size(),
                      sentences.size())
                << "a sentence is repeated";
        }
    }
}

TEST(SignCatalogue, leoJoinsItsTwoPiecesWithNothingBetween) {
    using namespace descriptions;
    EXPECT_EQ(leoNorthFirst.size(), 660u);
    EXPECT_EQ(leoNorthSecond.size(), 535u);
    EXPECT_EQ(leoSouthFirst.size(), 762u);
    EXPECT_EQ(leoSouthSecond.size(), 435u);
    EXPECT_TRUE(leoNorthFirst.ends_with("Be more alert and conscious while dealing with others."));
    EXPECT_TRUE(leoNorthSecond.starts_with(
        "Never jump out to follow the latest trend and fashion; rather stand by your ideals and "
        "fashions."));
    EXPECT_TRUE(leoSouthFirst.ends_with(
        "Never jump out to follow the latest trend and fashion; rather stand by your ideals and "
        "fashions."));
    EXPECT_TRUE(leoSouthSecond.starts_with("You are however an inspiring body for the others "
                                           "around you and as a master you are benevolent."));

    const SignCatalogueEntry& leo = *findSignCatalogueEntry("Leo");
    EXPECT_NE(leo.northDescription().find("others.Never jump"), std::string::npos);
    EXPECT_NE(leo.southDescription().find("fashions.You are however"), std::string::npos);
}

TEST(SignCatalogue, southDescriptionMirrorsItsNorthDescription) {
    for (const auto& entry : signCatalogue())
        EXPECT_GE(sharedWordRatio(entry.northDescription(), entry.southDescription()), 0.85)
            << entry.northSign;
}

} // namespace
