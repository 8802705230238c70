#include "platform/profile/SettingError.h"

namespace {
const QString kRuntimeSource = QStringLiteral("Vantrel");
}

SettingError::SettingError(std::int32_t number, const QString& source, const QString& description)
    : std::runtime_error(description.toStdString()),
      m_number(number),
      m_source(source),
      m_description(description) {}

SettingError SettingError::overflow() {
    return {Overflow, kRuntimeSource, QStringLiteral("Overflow")};
}

SettingError SettingError::invalidArgument() {
    return {InvalidArgument, kRuntimeSource, QStringLiteral("Invalid procedure call or argument")};
}

SettingError SettingError::fileAccess() {
    return {FileAccess, kRuntimeSource, QStringLiteral("Path/File access error")};
}
