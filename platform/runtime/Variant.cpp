#include "platform/runtime/Variant.h"

#include "platform/runtime/NumberRules.h"

double Variant::Number() const {
    if (const auto* number = std::get_if<double>(&m_value)) return *number;
    if (const auto* text = std::get_if<QString>(&m_value)) return NumberRules::leadingNumber(*text);
    return 0.0;
}
