#include "platform/Variant.h"

#include "platform/NumberRules.h"

double Variant::Number() const {
    if (const auto* number = std::get_if<double>(&value_)) return *number;
    if (const auto* text = std::get_if<QString>(&value_)) return NumberRules::leadingNumber(*text);
    return 0.0;
}
