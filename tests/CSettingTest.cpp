#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>
#include <tuple>
#include <utility>

#include "platform/profile/SettingError.h"
#include "settings/CSetting.h"

namespace {

class CSettingTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    UserStore store() const { return UserStore(m_dir.filePath(QStringLiteral("store"))); }
    // A setting object on our temporary folder, application "App". Mode 0
    // selects the per-user store, any other mode the INI file.
    CSetting make(std::int32_t mode) const {
        CSetting setting{store()};
        setting.Init(m_dir.path(), QStringLiteral("App"), mode);
        return setting;
    }

    static void expectError(const std::function<void()>& call, std::int32_t number,
                            const char* source, const QString& description) {
        try {
            call();
            ADD_FAILURE() << source << " raised no error";
        } catch (const SettingError& error) {
            EXPECT_EQ(error.number(), number) << source;
            EXPECT_EQ(error.source(), QString::fromLatin1(source));
            EXPECT_EQ(error.description(), description);
        }
    }

    QTemporaryDir m_dir;
};

TEST_F(CSettingTest, StartUpWorksOutTheFileAndTheMode) {
    const QString exeDir = QCoreApplication::applicationDirPath();
    const QString exeName = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    const QString sep = QDir::separator();
    const std::tuple<std::optional<QString>, std::optional<QString>, QString> cases[] = {
        {std::nullopt, std::nullopt, exeDir + sep + exeName + ".ini"},
        {QString(""), QString("  Vantrel  "), exeDir + sep + "Vantrel.ini"},
        {QString(" /x/ "), QString("a b"), " /x/ " + sep + "a b.ini"},
        {"/opt/v" + sep, QString("V"), "/opt/v" + sep + sep + "V.ini"},
    };
    for (const auto& [path, name, iniFile] : cases) {
        CSetting setting;
        setting.Init(path, name);
        EXPECT_EQ(setting.iniFilePath(), iniFile);
    }

    // Without Init the first call starts up with mode 0, whatever was set.
    store().save(exeName, QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("from store"));
    CSetting setting{store()};
    setting.SaveMode(1);
    EXPECT_EQ(setting.GetSettingStr("S", "k", "default"), QStringLiteral("from store"));
}

TEST_F(CSettingTest, BothModesStoreListAndDelete) {
    for (const std::int32_t mode : {7, 0}) {
        SCOPED_TRACE(mode == 0 ? "store" : "INI file");
        CSetting setting = make(mode);
        EXPECT_TRUE(setting.GetSettingAll("Window").empty());
        setting.SaveSettingStr("Window", "Top", "9");
        setting.SaveSettingStr("Window", "Left", "4");
        setting.SaveSettingInt("Configuration", "CommPort", -5);
        EXPECT_EQ(setting.GetSettingStr("Configuration", "CommPort", ""), QStringLiteral("-5"));
        setting.DeleteKey("Window", "Top");
        EXPECT_EQ(setting.GetSettingAll("Window"), (CSetting::Rows{{"Left", "4"}}));
        setting.DeleteKey("Window", QString());
        EXPECT_EQ(setting.GetSectionNames(), QStringList{"Configuration"});

        // Outside -32768..32767 a stored number is an overflow.
        setting.SaveSettingStr("S", "k", "40000");
        expectError([&] { setting.GetSettingInt("S", "k", 0); }, -2147220989,  // 0x80040203
                    "CSetting.GetSettingInt", "Error reading Setting (6, Overflow)");
        setting.SaveSettingStr("S", "k", "-32768");
        EXPECT_EQ(setting.GetSettingInt("S", "k", 0), -32768);
    }
    // The store keeps texts: a number rounds half to even, anything else reads as 0.
    CSetting setting = make(0);
    const std::pair<const char*, int> cases[] = {{"2.5", 2}, {"3.5", 4}, {"5x", 0}, {" 17 ", 17}};
    for (const auto& [stored, expected] : cases) {
        setting.SaveSettingStr("S", "k", stored);
        EXPECT_EQ(setting.GetSettingInt("S", "k", 99), expected) << stored;
    }
    EXPECT_EQ(setting.GetSettingInt("S", "missing", 99), 99);
}

// Rows and sections in the file's order, quotes gone; an empty key name is no
// key of the file; texts cross in code page 1252, whose 0x80 is the euro
// sign; a value is cut at 127 characters. What a write keeps of the rest of
// the file the start-up test sees through the window's port, and how the
// file's own encoding is kept, the recorded vectors.
TEST_F(CSettingTest, IniFileRowsSectionsCodePageAndValueLength) {
    const QByteArray windowsFile =
        "; written on Windows\r\n[Window]\r\nTop=9\r\nLeft=\"4\"\r\n\r\n[Empty]\r\n"
        "[Configuration]\r\nName=Caf\xE9 \x80\r\n[Other]\r\nx = y";
    QFile file(m_dir.filePath(QStringLiteral("App.ini")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(windowsFile) == windowsFile.size());
    file.close();
    CSetting setting = make(7);
    EXPECT_EQ(setting.GetSettingAll("WINDOW"), (CSetting::Rows{{"Top", "9"}, {"Left", "4"}}));
    EXPECT_TRUE(setting.GetSettingAll("Empty").empty());
    EXPECT_EQ(setting.GetSectionNames(),
              QStringList({"Window", "Empty", "Configuration", "Other"}));
    EXPECT_EQ(setting.GetSettingStr("Configuration", "Name", ""),
              QStringLiteral("Caf\u00e9 \u20ac"));
    setting.DeleteKey("Window", "");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), windowsFile);
    file.close();
    setting.SaveSettingStr("Configuration", "Name", QStringLiteral("\u20ac 5"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("\r\nName=\x80 5\r\n"));

    const QString longValue(200, u'v');
    setting.SaveSettingStr("Other", "x", longValue);
    EXPECT_EQ(setting.GetSettingStr("Other", "x", ""), longValue.left(127));
}

TEST_F(CSettingTest, FailuresAreWrappedWithTheOperationsNumber) {
    // An INI file that is really a folder cannot be changed.
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("Locked.ini")));
    CSetting locked{store()};
    locked.Init(m_dir.path(), QStringLiteral("Locked"), 1);
    expectError([&] { locked.DeleteKey("Configuration", "CommPort"); }, -2147220987,
                "CSetting.DeleteKey",
                "Error Deleting Key (-2147220987, Error Deleting Key (check if file is "
                "protected))");
    // A refused INI write is not raised.
    EXPECT_NO_THROW(locked.SaveSettingStr("Configuration", "CommPort", "3"));

    // A failure of the store is wrapped the same way.
    CSetting setting = make(0);
    expectError([&] { setting.SaveSettingInt("", "k", 1); }, -2147220990, "CSetting.SaveSettingInt",
                "Error writing Setting (5, Invalid procedure call or argument)");
}

}  // namespace
