#pragma once

#include <string_view>

// The long interpretation of each node placement, one paragraph of plain ASCII each.
// The South text of a sign mirrors its North text with the node and sign changed.
// Leo is kept in two pieces per node, shown joined with nothing between them.
namespace descriptions {

extern const std::string_view libraNorth;
extern const std::string_view libraSouth;
extern const std::string_view virgoNorth;
extern const std::string_view virgoSouth;
extern const std::string_view leoNorthFirst;
extern const std::string_view leoNorthSecond;
extern const std::string_view leoSouthFirst;
extern const std::string_view leoSouthSecond;
extern const std::string_view cancerNorth;
extern const std::string_view cancerSouth;
extern const std::string_view geminiNorth;
extern const std::string_view geminiSouth;
extern const std::string_view taurusNorth;
extern const std::string_view taurusSouth;
extern const std::string_view ariesNorth;
extern const std::string_view ariesSouth;
extern const std::string_view piscesNorth;
extern const std::string_view piscesSouth;
extern const std::string_view aquariousNorth;
extern const std::string_view aquariousSouth;
extern const std::string_view capricornNorth;
extern const std::string_view capricornSouth;
extern const std::string_view sagittariusNorth;
extern const std::string_view sagittariusSouth;
extern const std::string_view scorpioNorth;
extern const std::string_view scorpioSouth;

} // namespace descriptions
