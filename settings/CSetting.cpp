#include "settings/CSetting.h"

#include <QCoreApplication>
#include <QtDebug>
#include <new>
#include <utility>

#include "platform/profile/IniFile.h"
#include "platform/profile/ProfileFunctions.h"
#include "platform/profile/SettingError.h"
#include "platform/runtime/AppInfo.h"
#include "platform/runtime/NumberRules.h"

namespace {

constexpr std::uint32_t kValueBuffer = 128;
constexpr std::uint32_t kListBuffer = 2048;

// Spaces only: tabs and other white space stay.
QString trimSpaces(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ') ++begin;
    while (end > begin && text[end - 1] == u' ') --end;
    return text.mid(begin, end - begin);
}

// NUL-separated names up to the list's closing pair of NULs.
QStringList splitList(const QByteArray& buffer) {
    const qsizetype end = buffer.indexOf(QByteArray("\0\0", 2));
    QStringList names;
    for (const QByteArray& name : buffer.left(end < 0 ? buffer.size() : end).split('\0')) {
        names.append(IniFile::Text(name));
    }
    return names;
}

}  // namespace

struct CSetting::Frame {
    std::int32_t number;
    const char* source;
    const char* text;
};

namespace {
constexpr std::int32_t kWriteFailed = SettingError::ApplicationBase + 514;
constexpr std::int32_t kReadFailed = SettingError::ApplicationBase + 515;
constexpr std::int32_t kSectionFailed = SettingError::ApplicationBase + 516;
constexpr std::int32_t kDeleteFailed = SettingError::ApplicationBase + 517;
}  // namespace

CSetting::CSetting(UserStore store) : m_store(std::move(store)) {}

void CSetting::Init(const std::optional<QString>& AppPath, const std::optional<QString>& AppName,
                    std::int32_t Mode) {
    m_appName = AppName ? trimSpaces(*AppName) : AppInfo::ExeName();
    m_appPath = AppPath && !AppPath->isEmpty() ? *AppPath : AppInfo::Path();
    m_iniFile = IniFile::PathFor(m_appPath, m_appName);
    SaveMode(Mode);
}

template <typename Body>
auto CSetting::guarded(const Frame& frame, Body body) -> decltype(body()) {
    auto wrapped = [&frame](std::int32_t number, const QString& description) {
        return SettingError(frame.number, QString::fromLatin1(frame.source),
                            QString::fromLatin1(frame.text) + '(' + QString::number(number) +
                                QStringLiteral(", ") + description + ')');
    };
    try {
        if (m_appName.isEmpty()) Init();
        return body();
    } catch (const SettingError& inner) {
        throw wrapped(inner.number(), inner.description());
    } catch (const std::bad_alloc&) {
        throw wrapped(SettingError::OutOfMemory, QStringLiteral("Out of memory"));
    } catch (const std::exception& other) {
        throw wrapped(SettingError::Internal, QString::fromLocal8Bit(other.what()));
    }
}

QString CSetting::TrimAtNull(const QString& text) {
    const QString trimmed = trimSpaces(text);
    const qsizetype nul = trimmed.indexOf(QChar(u'\0'));
    return nul < 0 ? trimmed : trimmed.left(nul);
}

QString CSetting::GetSettingStr(const QString& Section, const QString& KeyName,
                                const QString& DefaultValue) {
    const Frame frame{kReadFailed, "CSetting.GetSettingStr", "Error reading Setting "};
    QByteArray buffer(kValueBuffer, '\0');
    return guarded(frame, [&] {
        if (m_mode == 0) return m_store.get(m_appName, Section, KeyName, DefaultValue);
        ProfileFunctions::GetPrivateProfileString(
            IniFile::Bytes(Section).constData(), IniFile::Bytes(KeyName).constData(),
            IniFile::Bytes(DefaultValue).constData(), buffer.data(), kValueBuffer,
            IniFile::FileName(m_iniFile).constData());
        return TrimAtNull(IniFile::Text(buffer));
    });
}

std::int16_t CSetting::GetSettingInt(const QString& Section, const QString& KeyName,
                                     std::int16_t DefaultValue) {
    const Frame frame{kReadFailed, "CSetting.GetSettingInt", "Error reading Setting "};
    return guarded(frame, [&]() -> std::int16_t {
        if (m_mode != 0) {
            const auto value = static_cast<std::int32_t>(ProfileFunctions::GetPrivateProfileInt(
                IniFile::Bytes(Section).constData(), IniFile::Bytes(KeyName).constData(),
                DefaultValue, IniFile::FileName(m_iniFile).constData()));
            if (value < -32768 || value > 32767) throw SettingError::overflow();
            return static_cast<std::int16_t>(value);
        }
        const QString text =
            m_store.get(m_appName, Section, KeyName, QString::number(DefaultValue));
        if (!NumberRules::isNumeric(text)) return 0;
        const std::optional<std::int16_t> value =
            NumberRules::roundToInt16(NumberRules::leadingNumber(text));
        if (!value) throw SettingError::overflow();
        return *value;
    });
}

CSetting::Rows CSetting::GetSettingAll(const QString& Section) {
    const Frame frame{kSectionFailed, "CSetting.GetSettingAll", "Error reading Section "};
    QByteArray buffer(kListBuffer, '\0');
    return guarded(frame, [&] {
        if (m_mode == 0) return m_store.getAll(m_appName, Section);
        Rows rows;
        const std::uint32_t count = ProfileFunctions::GetPrivateProfileString(
            IniFile::Bytes(Section).constData(), nullptr, "0", buffer.data(), kListBuffer,
            IniFile::FileName(m_iniFile).constData());
        if (count <= 1) return rows;
        for (const QString& key : splitList(buffer)) {
            rows.push_back({key, GetSettingStr(Section, key, QString(""))});
        }
        return rows;
    });
}

QStringList CSetting::GetSectionNames() {
    const Frame frame{kSectionFailed, "CSetting.GetSectionNames", "Error reading Section "};
    QByteArray buffer(kListBuffer, '\0');
    return guarded(frame, [&] {
        if (m_mode == 0) return m_store.sections(m_appName);
        const std::uint32_t count = ProfileFunctions::GetPrivateProfileString(
            nullptr, nullptr, "0", buffer.data(), kListBuffer,
            IniFile::FileName(m_iniFile).constData());
        return count <= 1 ? QStringList() : splitList(buffer);
    });
}

void CSetting::SaveSettingStr(const QString& Section, const QString& KeyName,
                              const QString& Setting) {
    const Frame frame{kWriteFailed, "CSetting.SaveSettingStr", "Error writing Setting "};
    guarded(frame, [&] {
        if (m_mode == 0) return m_store.save(m_appName, Section, KeyName, Setting);
        if (ProfileFunctions::WritePrivateProfileString(
                IniFile::Bytes(Section).constData(), IniFile::Bytes(KeyName).constData(),
                IniFile::Bytes(Setting).constData(),
                IniFile::FileName(m_iniFile).constData()) == 0) {
            qWarning() << "Setting" << Section << KeyName << "not saved in" << m_iniFile;
        }
    });
}

void CSetting::SaveSettingInt(const QString& Section, const QString& KeyName,
                              std::int16_t Setting) {
    const Frame frame{kWriteFailed, "CSetting.SaveSettingInt", "Error writing Setting "};
    guarded(frame, [&] {
        const QString text = QString::number(Setting);
        if (m_mode == 0) return m_store.save(m_appName, Section, KeyName, text);
        if (ProfileFunctions::WritePrivateProfileString(
                IniFile::Bytes(Section).constData(), IniFile::Bytes(KeyName).constData(),
                IniFile::Bytes(text).constData(), IniFile::FileName(m_iniFile).constData()) == 0) {
            qWarning() << "Setting" << Section << KeyName << "not saved in" << m_iniFile;
        }
    });
}

void CSetting::DeleteKey(const QString& Section, const QString& KeyName) {
    const Frame frame{kDeleteFailed, "CSetting.DeleteKey", "Error Deleting Key "};
    guarded(frame, [&] {
        if (m_mode == 0) {
            return m_store.remove(m_appName, Section, KeyName.isEmpty() ? QString() : KeyName);
        }
        const QByteArray key = IniFile::Bytes(KeyName);
        if (ProfileFunctions::WritePrivateProfileString(
                IniFile::Bytes(Section).constData(), KeyName.isNull() ? nullptr : key.constData(),
                nullptr, IniFile::FileName(m_iniFile).constData()) == 0) {
            throw SettingError(kDeleteFailed, QStringLiteral("CSetting.DeleteKey"),
                               QStringLiteral("Error Deleting Key (check if file is protected)"));
        }
    });
}
