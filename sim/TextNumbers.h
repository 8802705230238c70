#pragma once

#include <optional>
#include <string_view>

// Blanks, tabs and CRs cut from both ends.
std::string_view trimmedText(std::string_view text);

// The whole text (blanks around it allowed, a leading '+' too) as one finite
// number, whatever the C locale's decimal point; empty otherwise.
std::optional<double> wholeNumber(std::string_view text);
