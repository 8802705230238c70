#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>

#include "platform/ProfileFunctions.h"

using namespace ProfileFunctions;

namespace {

class ProfileFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QByteArray path(const char* name = "Vantrel.ini") const {
        return QFile::encodeName(m_dir.filePath(QString::fromLatin1(name)));
    }
    void put(const QByteArray& bytes, const char* name = "Vantrel.ini") const {
        QFile file(QFile::decodeName(path(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
    QByteArray contents(const char* name = "Vantrel.ini") const {
        QFile file(QFile::decodeName(path(name)));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    QString read(const char* section, const char* key) const {
        char buffer[128];
        GetPrivateProfileString(section, key, "<default>", buffer, sizeof buffer, path());
        return QString::fromLatin1(buffer);
    }
    QStringList folderEntries() const {
        return QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }

    QTemporaryDir m_dir;
};

// A file as a Windows editor leaves it: CRLF endings, comments, blank lines
// between sections, indented keys and no ending after the last line.
const QByteArray kWindowsFile =
    "; Vantrel settings\r\n"
    "[Configuration]\r\n"
    "  CommPort = 2   ; first port\r\n"
    "Band=7\r\n"
    "\r\n"
    "[Window]\r\n"
    "; position in twips\r\n"
    "Left=1200\r\n"
    "Top=900";

TEST_F(ProfileFileTest, WindowsFileKeepsEveryUntouchedByte) {
    const struct {
        const char* section;
        const char* key;
        const char* value;
        QByteArray expected;
    } cases[] = {
        {"configuration", "COMMPORT", "3",
         QByteArray(kWindowsFile).replace("  CommPort = 2   ; first port", "CommPort=3")},
        {"Configuration", "Parity", "N",
         QByteArray(kWindowsFile).replace("Band=7\r\n", "Band=7\r\nParity=N\r\n")},
        {"Configuration", "Band", nullptr, QByteArray(kWindowsFile).replace("Band=7\r\n", "")},
        {"Window", "Width", "4800", kWindowsFile + "\r\nWidth=4800\r\n"},
        {"Serial", "Baud", "9600", kWindowsFile + "\r\n[Serial]\r\nBaud=9600\r\n"},
        {"Window", nullptr, nullptr, kWindowsFile.left(kWindowsFile.indexOf("[Window]"))},
        {"Configuration", "Band", "7", kWindowsFile},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.section) + "/" + (c.key ? c.key : "(section)"));
        put(kWindowsFile);
        ASSERT_NE(WritePrivateProfileString(c.section, c.key, c.value, path()), 0);
        EXPECT_EQ(contents(), c.expected);
    }
}

TEST_F(ProfileFileTest, WindowsFileReadsLikeAnyOther) {
    put(kWindowsFile);
    EXPECT_EQ(read("Configuration", "CommPort"), QStringLiteral("2   ; first port"));
    EXPECT_EQ(GetPrivateProfileInt("Configuration", "CommPort", 1, path()), 2u);
    EXPECT_EQ(read("WINDOW", "top"), QStringLiteral("900"));
    char list[64];
    EXPECT_EQ(GetPrivateProfileString("Window", nullptr, "0", list, sizeof list, path()), 9u);
    EXPECT_EQ(QByteArray(list, 10), QByteArray("Left\0Top\0\0", 10));
}

TEST_F(ProfileFileTest, NewLinesFollowTheFileLineEnding) {
    const struct {
        QByteArray before;
        QByteArray after;
    } cases[] = {
        {"[A]\nk=1\n", "[A]\nk=1\nn=2\n"},
        {"[A]\rk=1\r", "[A]\rk=1\rn=2\r"},
        {"[A]\r\nk=1", "[A]\r\nk=1\r\nn=2\r\n"},
        {"\xEF\xBB\xBF[A]\nk=1\n", "\xEF\xBB\xBF[A]\nk=1\nn=2\n"},
    };
    for (const auto& c : cases) {
        put(c.before);
        ASSERT_NE(WritePrivateProfileString("A", "n", "2", path()), 0);
        EXPECT_EQ(contents(), c.after) << c.before.toStdString();
    }
}

TEST_F(ProfileFileTest, LineBreaksInNamesOrValuesAreRefused) {
    put(kWindowsFile);
    const struct {
        const char* section;
        const char* key;
        const char* value;
    } cases[] = {
        {"Configuration", "CommPort", "3\r\n[Evil]\r\nx=1"},
        {"Configuration", "Comm\nPort", "3"},
        {"Config\ruration", "CommPort", "3"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WritePrivateProfileString(c.section, c.key, c.value, path()), 0) << c.value;
        EXPECT_EQ(contents(), kWindowsFile);
    }
}

TEST_F(ProfileFileTest, RefusedWritesLeaveTheOldFileIntact) {
    put(kWindowsFile);
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("Folder.ini")));
    const QByteArray missingFolder =
        QFile::encodeName(m_dir.filePath(QStringLiteral("none/x.ini")));
    EXPECT_EQ(WritePrivateProfileString("Configuration", "CommPort", "3", missingFolder), 0);
    EXPECT_EQ(WritePrivateProfileString("Configuration", "CommPort", "3", path("Folder.ini")), 0);
    EXPECT_EQ(WritePrivateProfileString("Configuration", nullptr, nullptr, path("Folder.ini")), 0);
    EXPECT_FALSE(QFile::exists(QFile::decodeName(missingFolder)));
    EXPECT_TRUE(QDir(m_dir.filePath(QStringLiteral("Folder.ini"))).isEmpty());
    EXPECT_EQ(contents(), kWindowsFile);
}

TEST_F(ProfileFileTest, ReadOnlyFileOrFolderRefusesTheWrite) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes to read-only files and folders";
    put(kWindowsFile);
    ::chmod(path().constData(), 0444);
    EXPECT_EQ(WritePrivateProfileString("Configuration", "CommPort", "3", path()), 0);
    ::chmod(path().constData(), 0644);
    ::chmod(QFile::encodeName(m_dir.path()).constData(), 0555);
    EXPECT_EQ(WritePrivateProfileString("Configuration", "CommPort", "3", path()), 0);
    ::chmod(QFile::encodeName(m_dir.path()).constData(), 0755);
    EXPECT_EQ(contents(), kWindowsFile);
}

TEST_F(ProfileFileTest, InterruptedWriteLeavesTheOldFileIntact) {
    put(kWindowsFile);
    const QStringList entriesBefore = folderEntries();
    // A size limit makes the write fail part way, as a full disk would; root
    // is bound by it too.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tight = saved;
    tight.rlim_cur = 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tight), 0);
    const QByteArray longValue(4000, 'x');
    const int result = WritePrivateProfileString("Window", "Big", longValue.constData(), path());
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(result, 0);
    EXPECT_EQ(contents(), kWindowsFile);
    EXPECT_EQ(folderEntries(), entriesBefore) << "no temporary file is left behind";
    EXPECT_NE(WritePrivateProfileString("Window", "Big", longValue.constData(), path()), 0);
    EXPECT_EQ(read("Window", "Big"), QString(127, u'x'));
}

TEST_F(ProfileFileTest, RewriteKeepsTheFilePermissions) {
    put(kWindowsFile);
    ::chmod(path().constData(), 0640);
    ASSERT_NE(WritePrivateProfileString("Configuration", "CommPort", "5", path()), 0);
    struct stat info {};
    ASSERT_EQ(::stat(path().constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST_F(ProfileFileTest, DeletingFromAMissingFileCreatesNothing) {
    EXPECT_NE(WritePrivateProfileString("Configuration", "CommPort", nullptr, path()), 0);
    EXPECT_NE(WritePrivateProfileString("Configuration", nullptr, nullptr, path()), 0);
    EXPECT_TRUE(folderEntries().isEmpty());
}

}  // namespace
