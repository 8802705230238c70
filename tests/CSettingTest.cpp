#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>

#include "settings/CSetting.h"
#include "settings/SettingError.h"

namespace {

constexpr std::int32_t kReadFailed = -2147220989;     // 0x80040203
constexpr std::int32_t kSectionFailed = -2147220988;  // 0x80040204
constexpr std::int32_t kDeleteFailed = -2147220987;   // 0x80040205

enum class Mode { Store, Ini };

class CSettingTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString storeRoot() const { return m_dir.filePath(QStringLiteral("store")); }
    UserStore store() const { return UserStore(storeRoot()); }

    // A setting object on our temporary folder, application "App".
    CSetting make(Mode mode) const {
        CSetting setting{store()};
        setting.Init(m_dir.path(), QStringLiteral("App"), mode == Mode::Ini ? 1 : 0);
        return setting;
    }
    QString iniPath() const { return m_dir.filePath(QStringLiteral("App.ini")); }
    void putIni(const QByteArray& bytes) const {
        QFile file(iniPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray iniBytes() const {
        QFile file(iniPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    // Stores a raw text under S/k in the back end of `mode`.
    void putRaw(CSetting& setting, Mode mode, const QString& text) const {
        if (mode == Mode::Ini)
            putIni("[S]\r\nk=" + text.toLatin1() + "\r\n");
        else
            setting.SaveSettingStr(QStringLiteral("S"), QStringLiteral("k"), text);
    }

    static SettingError caught(const std::function<void()>& call) {
        try {
            call();
        } catch (const SettingError& error) {
            return error;
        }
        ADD_FAILURE() << "no error raised";
        return {0, {}, {}};
    }

    QTemporaryDir m_dir;
};

TEST_F(CSettingTest, InitWorksOutNameFolderAndFile) {
    const QString exeDir = QCoreApplication::applicationDirPath();
    const QString exeName = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    const QString sep = QDir::separator();
    const struct {
        std::optional<QString> path;
        std::optional<QString> name;
        std::int32_t mode;
        QString appPath, appName, iniFile;
    } cases[] = {
        {std::nullopt, std::nullopt, 0, exeDir, exeName, exeDir + sep + exeName + ".ini"},
        {QString(""), QString("  Vantrel  "), 1, exeDir, "Vantrel", exeDir + sep + "Vantrel.ini"},
        {QString(" /x/ "), QString("a b"), -3, " /x/ ", "a b", " /x/ " + sep + "a b.ini"},
        {QString("/opt/v") + sep, QString("V"), 7, "/opt/v" + sep, "V",
         "/opt/v" + sep + sep + "V.ini"},
    };
    for (const auto& c : cases) {
        CSetting setting;
        setting.Init(c.path, c.name, c.mode);
        EXPECT_EQ(setting.appPath(), c.appPath);
        EXPECT_EQ(setting.appName(), c.appName);
        EXPECT_EQ(setting.iniFilePath(), c.iniFile);
        EXPECT_EQ(setting.SaveMode(), c.mode);
    }
}

TEST_F(CSettingTest, ModeSetBeforeFirstUseGivesWayToTheStore) {
    // The implicit start-up names the application after the test program.
    const QString exeName = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    store().save(exeName, QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("from store"));
    CSetting setting{store()};
    setting.SaveMode(1);
    EXPECT_EQ(setting.GetSettingStr("S", "k", "default"), QStringLiteral("from store"));
    EXPECT_EQ(setting.SaveMode(), 0);

    // After that, any non-zero mode selects the INI file.
    setting.Init(m_dir.path(), QStringLiteral("App"));
    setting.SaveMode(7);
    setting.SaveSettingStr("S", "k", "from file");
    EXPECT_EQ(iniBytes(), QByteArray("[S]\r\nk=from file\r\n"));
    EXPECT_EQ(setting.GetSettingStr("S", "k", "default"), QStringLiteral("from file"));
}

TEST_F(CSettingTest, IniValuesAreCutTo127Characters) {
    CSetting setting = make(Mode::Ini);
    const QString longValue = QString(200, u'v');
    setting.SaveSettingStr("S", "k", longValue);
    EXPECT_EQ(setting.GetSettingStr("S", "k", "d"), longValue.left(127));
    EXPECT_EQ(setting.GetSettingStr("S", "missing", "d"), QStringLiteral("d"));
    EXPECT_EQ(setting.GetSettingInt("S", "missing", -12), -12);
}

TEST_F(CSettingTest, IntegersOutside16BitsFailInBothModes) {
    for (Mode mode : {Mode::Ini, Mode::Store}) {
        CSetting setting = make(mode);
        putRaw(setting, mode, QStringLiteral("40000"));
        const SettingError error = caught([&] { setting.GetSettingInt("S", "k", 0); });
        EXPECT_EQ(error.number(), kReadFailed);
        EXPECT_EQ(error.source(), QStringLiteral("CSetting.GetSettingInt"));
        EXPECT_EQ(error.description(), QStringLiteral("Error reading Setting (6, Overflow)"));
        putRaw(setting, mode, QStringLiteral("-32768"));
        EXPECT_EQ(setting.GetSettingInt("S", "k", 0), -32768);
    }
}

TEST_F(CSettingTest, StoreIntegersRoundHalvesToEven) {
    CSetting setting = make(Mode::Store);
    const struct {
        const char* stored;
        std::int16_t expected;
    } cases[] = {{"2.5", 2}, {"3.5", 4},   {"-2.5", -2}, {"abc", 0},
                 {"", 0},    {" 17 ", 17}, {"1e3", 1000}};
    for (const auto& c : cases) {
        putRaw(setting, Mode::Store, QString::fromLatin1(c.stored));
        EXPECT_EQ(setting.GetSettingInt("S", "k", 99), c.expected) << c.stored;
    }
    EXPECT_EQ(setting.GetSettingInt("S", "missing", 99), 99);
}

TEST_F(CSettingTest, IntegersAreSavedAsPlainDecimal) {
    for (Mode mode : {Mode::Ini, Mode::Store}) {
        CSetting setting = make(mode);
        setting.SaveSettingInt("Configuration", "CommPort", 3);
        setting.SaveSettingInt("S", "k", -5);
        EXPECT_EQ(setting.GetSettingStr("S", "k", ""), QStringLiteral("-5"));
        EXPECT_EQ(setting.GetSettingStr("Configuration", "CommPort", ""), QStringLiteral("3"));
    }
    EXPECT_EQ(iniBytes(), QByteArray("[Configuration]\r\nCommPort=3\r\n[S]\r\nk=-5\r\n"));
}

TEST_F(CSettingTest, ListsAreEmptyForMissingSectionsAndFollowTheFile) {
    for (Mode mode : {Mode::Ini, Mode::Store}) {
        CSetting setting = make(mode);
        EXPECT_TRUE(setting.GetSettingAll("Nowhere").empty());
        EXPECT_TRUE(setting.GetSectionNames().isEmpty());
    }
    putIni("; comment\r\n[Window]\r\nTop=9\r\nleft=\"4\"\r\n[Empty]\r\n[Configuration]\r\n");
    CSetting setting = make(Mode::Ini);
    const CSetting::Rows expected{{"Top", "9"}, {"left", "4"}};
    EXPECT_EQ(setting.GetSettingAll("WINDOW"), expected);
    EXPECT_TRUE(setting.GetSettingAll("Empty").empty());
    EXPECT_EQ(setting.GetSectionNames(), QStringList({"Window", "Empty", "Configuration"}));
}

TEST_F(CSettingTest, StoreListsAndDeletes) {
    CSetting setting = make(Mode::Store);
    setting.SaveSettingStr("Window", "Top", "9");
    setting.SaveSettingStr("Window", "Left", "4");
    setting.SaveSettingStr("Configuration", "CommPort", "2");
    EXPECT_EQ(setting.GetSettingAll("Window"), (CSetting::Rows{{"Left", "4"}, {"Top", "9"}}));
    EXPECT_EQ(setting.GetSectionNames(), QStringList({"Configuration", "Window"}));
    setting.DeleteKey("Window", "Top");
    EXPECT_EQ(setting.GetSettingAll("Window"), (CSetting::Rows{{"Left", "4"}}));
    setting.DeleteKey("Window", "");
    EXPECT_TRUE(setting.GetSettingAll("Window").empty());
    EXPECT_EQ(setting.GetSettingStr("Configuration", "CommPort", ""), QStringLiteral("2"));
}

TEST_F(CSettingTest, IniDeleteRemovesKeyOrSection) {
    putIni("[A]\r\nk=1\r\nj=2\r\n[B]\r\nx=1\r\n");
    CSetting setting = make(Mode::Ini);
    setting.DeleteKey("A", "k");
    setting.DeleteKey("A", "");  // an empty name is no key of the file
    EXPECT_EQ(iniBytes(), QByteArray("[A]\r\nj=2\r\n[B]\r\nx=1\r\n"));
    setting.DeleteKey("B", QString());
    EXPECT_EQ(iniBytes(), QByteArray("[A]\r\nj=2\r\n"));
}

TEST_F(CSettingTest, FailuresAreWrappedWithTheOperationsNumber) {
    // An INI file that is really a folder cannot be changed.
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("Locked.ini")));
    CSetting locked{store()};
    locked.Init(m_dir.path(), QStringLiteral("Locked"), 1);
    const SettingError deleteError = caught([&] { locked.DeleteKey("Configuration", "CommPort"); });
    EXPECT_EQ(deleteError.number(), kDeleteFailed);
    EXPECT_EQ(deleteError.source(), QStringLiteral("CSetting.DeleteKey"));
    EXPECT_EQ(deleteError.description(),
              QStringLiteral("Error Deleting Key (-2147220987, Error Deleting Key (check if file "
                             "is protected))"));
    // A refused INI write is not raised.
    EXPECT_NO_THROW(locked.SaveSettingStr("Configuration", "CommPort", "3"));
    EXPECT_NO_THROW(locked.SaveSettingInt("Configuration", "CommPort", 3));

    // The store refuses empty names; each operation says which one failed.
    CSetting setting = make(Mode::Store);
    const QString invalid = QStringLiteral("(5, Invalid procedure call or argument)");
    const struct {
        std::function<void()> call;
        std::int32_t number;
        const char* source;
        QString description;
    } cases[] = {
        {[&] { setting.GetSettingStr("", "k", ""); }, kReadFailed, "CSetting.GetSettingStr",
         "Error reading Setting " + invalid},
        {[&] { setting.GetSettingInt("S", "", 0); }, kReadFailed, "CSetting.GetSettingInt",
         "Error reading Setting " + invalid},
        {[&] { setting.GetSettingAll(""); }, kSectionFailed, "CSetting.GetSettingAll",
         "Error reading Section " + invalid},
        {[&] { setting.SaveSettingStr("S", "", "v"); }, -2147220990, "CSetting.SaveSettingStr",
         "Error writing Setting " + invalid},
        {[&] { setting.SaveSettingInt("", "k", 1); }, -2147220990, "CSetting.SaveSettingInt",
         "Error writing Setting " + invalid},
        {[&] { setting.DeleteKey("", "k"); }, kDeleteFailed, "CSetting.DeleteKey",
         "Error Deleting Key " + invalid},
    };
    for (const auto& c : cases) {
        const SettingError error = caught(c.call);
        EXPECT_EQ(error.number(), c.number) << c.source;
        EXPECT_EQ(error.source(), QString::fromLatin1(c.source));
        EXPECT_EQ(error.description(), c.description);
    }
}

TEST_F(CSettingTest, WindowsFileSurvivesAPortChange) {
    const QByteArray windowsFile =
        "; written on Windows\r\n[Window]\r\nTop=9\r\n\r\n[Configuration]\r\nCommPort=2\r\n"
        "; keep\r\n[Other]\r\nx = y";
    putIni(windowsFile);
    CSetting setting = make(Mode::Ini);
    EXPECT_EQ(setting.GetSettingInt("Configuration", "CommPort", 1), 2);
    setting.SaveSettingInt("Configuration", "CommPort", 4);
    EXPECT_EQ(iniBytes(), QByteArray(windowsFile).replace("CommPort=2", "CommPort=4"));
    EXPECT_EQ(setting.GetSettingStr("Other", "X", ""), QStringLiteral("y"));
}

}  // namespace
