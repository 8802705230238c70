#pragma once

#include <QString>
#include <cstdint>
#include <stdexcept>

// A failure of the settings store, as the callers of CSetting see it: a
// number, the routine it came from and a description. Numbers of our own lie
// in the application-defined range that starts at ApplicationBase; failures
// of a conversion or of the per-user store use the runtime's classic numbers.
class SettingError : public std::runtime_error {
public:
    enum Number : std::int32_t {
        ApplicationBase = -2147221504,  // 0x80040000
        InvalidArgument = 5,
        Overflow = 6,
        OutOfMemory = 7,
        Internal = 51,
        FileAccess = 75,
    };

    SettingError(std::int32_t number, const QString& source, const QString& description);

    static SettingError overflow();
    static SettingError invalidArgument();
    static SettingError fileAccess();

    std::int32_t number() const { return m_number; }
    const QString& source() const { return m_source; }
    const QString& description() const { return m_description; }

private:
    std::int32_t m_number;
    QString m_source;
    QString m_description;
};
