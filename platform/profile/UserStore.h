#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <memory>
#include <vector>

class QSettings;

// The per-user settings store: application, section and key lead to a text.
// On Windows it is the registry branch
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<application>,
// elsewhere the platform's own per-user settings under the organisation
// "VB and VBA Program Settings". A store made with a root folder keeps one INI
// file per application there instead, so tests never touch the user's
// settings. Failures raise SettingError with the runtime's classic numbers.
class UserStore {
public:
    explicit UserStore(QString root = {});

    // The stored text, or `defaultValue` when there is none.
    QString get(const QString& application, const QString& section, const QString& key,
                const QString& defaultValue) const;
    void save(const QString& application, const QString& section, const QString& key,
              const QString& value) const;
    // Rows of key and value; empty when the section holds no values.
    std::vector<std::array<QString, 2>> getAll(const QString& application,
                                               const QString& section) const;
    QStringList sections(const QString& application) const;
    // Removes the key, or with an empty key the whole section. Removing what
    // is not there is no failure.
    void remove(const QString& application, const QString& section, const QString& key = {}) const;

private:
    std::unique_ptr<QSettings> open(const QString& application) const;
    static void check(const QSettings& settings);

    QString m_root;
};
