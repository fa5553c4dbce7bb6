#include "engine/SignCatalogue.h"

#include "engine/SignDescriptions.h"

#include <algorithm>

namespace {

std::string join(const DescriptionPieces& pieces) {
    std::string text;
    for (const auto piece : pieces)
        text += piece;
    return text;
}

} // namespace

std::string SignCatalogueEntry::northDescription() const {
    return join(northPieces);
}

std::string SignCatalogueEntry::southDescription() const {
    return join(southPieces);
}

std::span<const SignCatalogueEntry> signCatalogue() {
    // Built on first use: the descriptions are defined in another translation unit.
    using namespace descriptions;
    static const std::array<SignCatalogueEntry, 12> catalogue{{
        {"Libra",
         "Aries",
         "Overconfident and Well-Balanced",
         "Overconfident and Well-Balanced",
         {libraNorth},
         {libraSouth}},
        {"Virgo", "Pisces", "Generous and Kind", "Generous and Kind", {virgoNorth}, {virgoSouth}},
        {"Leo",
         "Aquarius",
         "Introvert, Shy and Timid",
         "Introvert, Shy and Timid",
         {leoNorthFirst, leoNorthSecond},
         {leoSouthFirst, leoSouthSecond}},
        {"Cancer",
         "Capricorn",
         "Impulsive and Social",
         "Impulsive and Social",
         {cancerNorth},
         {cancerSouth}},
        {"Gemini",
         "Sagittarius",
         "Impatient and Hasty",
         "Impatient and Hasty",
         {geminiNorth},
         {geminiSouth}},
        {"Taurus",
         "Scorpio",
         "Secretive and Mysterious",
         "Secretive and Mysterious",
         {taurusNorth},
         {taurusSouth}},
        {"Aries",
         "Libra",
         "Co-dependent and Indecisive",
         "Co-dependency and Indecisiveness",
         {ariesNorth},
         {ariesSouth}},
        {"Pisces",
         "Virgo",
         "Compassionate and Worried",
         "Compassionate and Worried",
         {piscesNorth},
         {piscesSouth}},
        {"Aquarious",
         "Leo",
         "Domestic and Emotional",
         "Domestic and Emotional",
         {aquariousNorth},
         {aquariousSouth}},
        {"Capricorn",
         "Cancer",
         "Nostalgic, Coward, Pessimistic and Sensitive",
         "Nostalgic, Coward, Pessimistic and Sensitive",
         {capricornNorth},
         {capricornSouth}},
        {"Sagittarius",
         "Gemini",
         "Stimulating and Generous",
         "Stimulating and Generous",
         {sagittariusNorth},
         {sagittariusSouth}},
        {"Scorpio",
         "Taurus",
         "Stubborn and Self-Reliant",
         "Stubborn and Self-reliant",
         {scorpioNorth},
         {scorpioSouth}},
    }};
    return catalogue;
}

const SignCatalogueEntry* findSignCatalogueEntry(std::string_view northSign) {
    const auto entries = signCatalogue();
    const auto found = std::ranges::find(entries, northSign, &SignCatalogueEntry::northSign);
    return found == entries.end() ? nullptr : &*found;
}

void applySignCatalogue(NodeReading& reading, ReadingTexts& texts) {
    const SignCatalogueEntry* entry = findSignCatalogueEntry(reading.northSign);
    if (!entry)
        return;
    reading.southSign = entry->southSign;
    texts.setNorthKeywords(entry->northKeywords);
    texts.setNorthDescription(entry->northDescription());
    texts.setSouthKeywords(entry->southKeywords);
    texts.setSouthDescription(entry->southDescription());
}
