#include <gtest/gtest.h>
#include <windows.h>

#include <QCoreApplication>
#include <QString>
#include <optional>
#include <string>

#include "platform/profile/UserStore.h"

namespace {

const QString kBranch = QStringLiteral("Software\\VB and VBA Program Settings\\");

std::wstring wide(const QString& text) { return text.toStdWString(); }

// The text value `name` under HKEY_CURRENT_USER\<key>, if there is one.
std::optional<QString> registryText(const QString& key, const QString& name) {
    wchar_t value[256] = {};
    DWORD size = sizeof value;
    if (::RegGetValueW(HKEY_CURRENT_USER, wide(key).c_str(), wide(name).c_str(), RRF_RT_REG_SZ,
                       nullptr, value, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return QString::fromWCharArray(value);
}

}  // namespace

// The per-user store is the registry branch the classic runtime keeps such
// settings in, one key per application and section, a text value per key:
// what either program stores there, the other reads.
TEST(UserStoreRegistry, SettingsAreTextValuesUnderTheUsersProgramSettings) {
    const QString application =
        QStringLiteral("Vantrel test %1").arg(QCoreApplication::applicationPid());
    const QString section = kBranch + application + QStringLiteral("\\Configuration");
    const UserStore store;

    store.save(application, QStringLiteral("Configuration"), QStringLiteral("CommPort"),
               QStringLiteral("2"));
    EXPECT_EQ(registryText(section, QStringLiteral("CommPort")), QStringLiteral("2"));

    const std::wstring other = L"Com3";
    ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, wide(section).c_str(), L"Other", REG_SZ,
                                other.c_str(), DWORD((other.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    EXPECT_EQ(store.get(application, QStringLiteral("Configuration"), QStringLiteral("Other"), {}),
              QStringLiteral("Com3"));

    store.remove(application, QStringLiteral("Configuration"));
    EXPECT_EQ(registryText(section, QStringLiteral("CommPort")), std::nullopt);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, wide(kBranch + application).c_str());
}
