#include "platform/profile/UserStore.h"

#include <QDir>
#include <QSettings>
#include <utility>

#include "platform/profile/SettingError.h"

namespace {

const QString kOrganisation = QStringLiteral("VB and VBA Program Settings");

void requireNames(std::initializer_list<const QString*> names) {
    for (const QString* name : names) {
        if (name->isEmpty()) throw SettingError::invalidArgument();
    }
}

}  // namespace

UserStore::UserStore(QString root) : m_root(std::move(root)) {}

std::unique_ptr<QSettings> UserStore::open(const QString& application) const {
    if (!m_root.isEmpty()) {
        return std::make_unique<QSettings>(QDir(m_root).filePath(application + ".ini"),
                                           QSettings::IniFormat);
    }
#ifdef Q_OS_WIN
    return std::make_unique<QSettings>(
        QStringLiteral("HKEY_CURRENT_USER\\Software\\") + kOrganisation + '\\' + application,
        QSettings::NativeFormat);
#else
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, kOrganisation,
                                       application);
#endif
}

void UserStore::check(const QSettings& settings) {
    if (settings.status() != QSettings::NoError) throw SettingError::fileAccess();
}

QString UserStore::get(const QString& application, const QString& section, const QString& key,
                       const QString& defaultValue) const {
    requireNames({&application, &section, &key});
    const auto settings = open(application);
    check(*settings);
    return settings->value(section + '/' + key, defaultValue).toString();
}

void UserStore::save(const QString& application, const QString& section, const QString& key,
                     const QString& value) const {
    requireNames({&application, &section, &key});
    const auto settings = open(application);
    settings->setValue(section + '/' + key, value);
    settings->sync();
    check(*settings);
}

std::vector<std::array<QString, 2>> UserStore::getAll(const QString& application,
                                                      const QString& section) const {
    requireNames({&application, &section});
    const auto settings = open(application);
    check(*settings);
    std::vector<std::array<QString, 2>> rows;
    settings->beginGroup(section);
    for (const QString& key : settings->childKeys()) {
        rows.push_back({key, settings->value(key).toString()});
    }
    return rows;
}

QStringList UserStore::sections(const QString& application) const {
    requireNames({&application});
    const auto settings = open(application);
    check(*settings);
    return settings->childGroups();
}

void UserStore::remove(const QString& application, const QString& section,
                       const QString& key) const {
    requireNames({&application, &section});
    const auto settings = open(application);
    settings->remove(key.isEmpty() ? section : section + '/' + key);
    settings->sync();
    check(*settings);
}
