#pragma once

#include <QString>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// The pieces of the tool's JSON lines, written as the key order and the
// numbers must read: every number exact, whatever is unknown or not finite
// null, keys in the order given.
namespace JsonText {

std::string Number(const std::optional<double>& value);
std::string String(const std::optional<QString>& text);
std::string Bool(bool value);

// {"key": value, ...} of values already written as JSON.
using Members = std::vector<std::pair<std::string, std::string>>;
std::string Object(const Members& members);
// [value, ...] of values already written as JSON.
std::string List(const std::vector<std::string>& values);

}  // namespace JsonText
