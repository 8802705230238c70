#include "cli/JsonText.h"

#include <cmath>
#include <cstdio>

#include "core/NumberText.h"

namespace JsonText {

std::string Number(const std::optional<double>& value) {
    return value && std::isfinite(*value) ? NumberText::Shortest(*value) : "null";
}

std::string String(const std::optional<QString>& text) {
    if (!text) return "null";
    std::string out = "\"";
    for (const char c : text->toStdString()) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + '"';
}

std::string Bool(bool value) { return value ? "true" : "false"; }

std::string Object(const Members& members) {
    std::string out = "{";
    for (const auto& [key, value] : members) {
        if (out.size() > 1) out += ", ";
        out += String(QString::fromStdString(key)) + ": " + value;
    }
    return out + '}';
}

std::string List(const std::vector<std::string>& values) {
    std::string out = "[";
    for (const std::string& value : values) {
        if (out.size() > 1) out += ", ";
        out += value;
    }
    return out + ']';
}

}  // namespace JsonText
