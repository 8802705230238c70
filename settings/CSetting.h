#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/profile/UserStore.h"

// Named settings kept between runs, either in an INI file beside the program
// (any non-zero mode) or in the per-user settings store (mode 0). Every
// operation goes to the back end that the mode selects at the moment of the
// call, and an instance that was never initialised initialises itself on first
// use with the executable's folder and name, and mode 0.
//
// Every failure reaches the caller as a SettingError. The seven operations
// after Init wrap what went wrong in an error of their own whose description
// ends in "(<inner number>, <inner description>)".
//
// INI texts cross to the file as 8-bit text in code page 1252 (the file itself
// may be UTF-8 or UTF-16); a value read from the INI file comes
// back with at most 127 characters, a list of key or section names with at
// most 2046 bytes.
class CSetting {
public:
    using Rows = std::vector<std::array<QString, 2>>;  // key, value

    CSetting() = default;
    // Tests hand in a store of their own so that they never touch the user's.
    explicit CSetting(UserStore store);

    // AppPath absent or empty: the executable's folder, otherwise taken as
    // given. AppName absent: the executable's name without extension,
    // otherwise with surrounding blanks removed. The INI file is
    // AppPath + separator + AppName + ".ini".
    void Init(const std::optional<QString>& AppPath = std::nullopt,
              const std::optional<QString>& AppName = std::nullopt, std::int32_t Mode = 0);

    QString GetSettingStr(const QString& Section, const QString& KeyName,
                          const QString& DefaultValue);
    // A stored value outside -32768..32767 is an overflow failure. In the
    // per-user store a value that is not a number reads as 0.
    std::int16_t GetSettingInt(const QString& Section, const QString& KeyName,
                               std::int16_t DefaultValue);
    // Empty when the section is missing or holds no keys; INI rows follow
    // the file's order.
    Rows GetSettingAll(const QString& Section);
    QStringList GetSectionNames();
    // A write the INI file refuses is not reported (only warned about), so
    // that a program folder without write access costs nothing but the
    // setting.
    void SaveSettingStr(const QString& Section, const QString& KeyName, const QString& Setting);
    void SaveSettingInt(const QString& Section, const QString& KeyName, std::int16_t Setting);
    // An empty KeyName removes the whole section from the per-user store; in
    // the INI file a null KeyName (QString()) does.
    void DeleteKey(const QString& Section, const QString& KeyName);

    void SaveMode(std::int32_t mode) { m_mode = mode; }
    std::int32_t SaveMode() const { return m_mode; }

    // The INI file Init worked out.
    const QString& iniFilePath() const { return m_iniFile; }

private:
    struct Frame;
    template <typename Body>
    auto guarded(const Frame& frame, Body body) -> decltype(body());
    static QString TrimAtNull(const QString& text);

    std::int32_t m_mode = 0;
    QString m_iniFile;
    QString m_appPath;
    QString m_appName;
    UserStore m_store;
};
