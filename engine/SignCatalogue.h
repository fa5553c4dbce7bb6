#pragma once

#include "engine/NodeReading.h"

#include <array>
#include <span>
#include <string>
#include <string_view>

// What the catalogue hands over for a reading. The reading window implements
// it; the catalogue knows nothing else of the window.
class ReadingTexts {
public:
    virtual ~ReadingTexts() = default;
    virtual void setNorthKeywords(std::string_view keywords) = 0;
    virtual void setNorthDescription(std::string_view description) = 0;
    virtual void setSouthKeywords(std::string_view keywords) = 0;
    virtual void setSouthDescription(std::string_view description) = 0;
};

// A description stored as one or more pieces that are shown joined with nothing between them.
using DescriptionPieces = std::array<std::string_view, 2>;

struct SignCatalogueEntry {
    std::string_view northSign;
    std::string_view southSign;
    std::string_view northKeywords;
    std::string_view southKeywords;
    DescriptionPieces northPieces;
    DescriptionPieces southPieces;

    std::string northDescription() const;
    std::string southDescription() const;
};

// The twelve entries, one for each North sign the ingress table yields.
std::span<const SignCatalogueEntry> signCatalogue();

// The entry whose North sign equals `northSign` exactly, or null.
const SignCatalogueEntry* findSignCatalogueEntry(std::string_view northSign);

// Completes a reading from its North sign: stores the South sign and hands the
// four texts to `texts`. A North sign without an entry changes nothing.
void applySignCatalogue(NodeReading& reading, ReadingTexts& texts);
