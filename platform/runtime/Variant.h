#pragma once

#include <QString>
#include <variant>

// A value that is empty, a number or a text, as the frequency range variables
// hold: a stopped scan stores its range as digit texts, and every reader
// takes a text as its leading number and an empty value as 0.
class Variant {
public:
    Variant() = default;
    Variant(double number) : m_value(number) {}
    Variant(const QString& text) : m_value(text) {}

    double Number() const;

private:
    std::variant<std::monostate, double, QString> m_value;
};
