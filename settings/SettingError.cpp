#include "settings/SettingError.h"

#include <utility>

namespace {
const QString kRuntimeSource = QStringLiteral("Vantrel");
}

SettingError::SettingError(std::int32_t number, QString source, QString description)
    : m_number(number),
      m_source(std::move(source)),
      m_description(std::move(description)),
      m_what(m_description.toStdString()) {}

SettingError SettingError::overflow() {
    return {kOverflow, kRuntimeSource, QStringLiteral("Overflow")};
}

SettingError SettingError::invalidArgument() {
    return {kInvalidArgument, kRuntimeSource, QStringLiteral("Invalid procedure call or argument")};
}

SettingError SettingError::fileAccess() {
    return {kFileAccess, kRuntimeSource, QStringLiteral("Path/File access error")};
}
