#pragma once

#include <QString>
#include <cstdint>
#include <exception>
#include <string>

// A failure of the settings store, as the callers of CSetting see it: a
// number, the routine it came from and a description. Numbers of our own lie
// in the application-defined range that starts at 0x80040000; failures of a
// conversion or of the per-user store use the runtime's classic numbers.
class SettingError : public std::exception {
public:
    static constexpr std::int32_t kApplicationBase = -2147221504;  // 0x80040000
    static constexpr std::int32_t kInvalidArgument = 5;
    static constexpr std::int32_t kOverflow = 6;
    static constexpr std::int32_t kOutOfMemory = 7;
    static constexpr std::int32_t kInternal = 51;
    static constexpr std::int32_t kFileAccess = 75;

    SettingError(std::int32_t number, QString source, QString description);

    static SettingError overflow();
    static SettingError invalidArgument();
    static SettingError fileAccess();

    std::int32_t number() const { return m_number; }
    const QString& source() const { return m_source; }
    const QString& description() const { return m_description; }
    const char* what() const noexcept override { return m_what.c_str(); }

private:
    std::int32_t m_number = 0;
    QString m_source;
    QString m_description;
    std::string m_what;
};
