// Queries on the active drawing and its sheets. They never show anything:
// each answers true on success and hands back a German error text otherwise.
// Automation errors are not caught here; they reach the caller with the
// outputs written so far.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace cad {

bool HoleSheetNames(int32_t& sheetCount, std::vector<std::string>& sheetNames, std::string& currentSheetName,
                    std::string& errorText);

// Activates the named sheet; it stays the active sheet afterwards.
bool HoleSheetProperties(std::string sheetName, std::string& templatePath, int32_t& paperSizeCode,
                         std::string& paperSizeName, int32_t& templateSizeCode, std::string& templateSizeName,
                         double& scaleNumerator, double& scaleDenominator, std::string& scaleText,
                         int32_t& firstAngle, double& paperWidth, double& paperHeight,
                         std::string& errorText);

// The text for a sheet the drawing would not activate. The name and the second
// part are joined without a blank, as users of the tool know the message.
std::string sheetNotReachableText(const std::string& sheetName);

// The text for a sheet whose property array is shorter than the seven numbers.
std::string incompletePropertiesText(const std::string& sheetName, std::size_t count);

constexpr std::size_t kSheetPropertyCount = 7;

extern const char* const kNoDrawingLongText;

}  // namespace cad
