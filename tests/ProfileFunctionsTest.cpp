#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>

#include "platform/ProfileFunctions.h"

using ProfileFunctions::WritePrivateProfileString;

// The recorded vectors hold the reads and most writes; these cases hold what
// they leave informative or do not cover: untouched bytes of the file kept
// as they were, and a file that survives a write that goes wrong.

namespace {

class ProfileFileTest : public ::testing::Test {
protected:
    QByteArray path(const char* name = "Vantrel.ini") const {
        return QFile::encodeName(m_dir.filePath(QString::fromLatin1(name)));
    }
    void put(const QByteArray& bytes) const {
        QFile file(QFile::decodeName(path()));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    QByteArray contents() const {
        QFile file(QFile::decodeName(path()));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    QStringList folderEntries() const {
        return QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }

    QTemporaryDir m_dir;
};

// A file as a Windows editor leaves it: CRLF endings, comments, blank lines
// between sections, indented keys and no ending after the last line.
const QByteArray kWindowsFile =
    "; Vantrel settings\r\n[Configuration]\r\n  CommPort = 2   ; first port\r\nBand=7\r\n\r\n"
    "[Window]\r\n; position in twips\r\nLeft=1200\r\nTop=900";

TEST_F(ProfileFileTest, WritesChangeOnlyTheirOwnLine) {
    const QByteArray w = kWindowsFile;
    const struct {
        QByteArray before;
        const char* section;
        const char* key;
        const char* value;
        bool accepted;
        QByteArray after;
    } cases[] = {
        {w, "configuration", "COMMPORT", "3", true,
         QByteArray(w).replace("  CommPort = 2   ; first port", "CommPort=3")},
        {w, "Configuration", "Parity", "N", true,
         QByteArray(w).replace("Band=7\r\n", "Band=7\r\nParity=N\r\n")},
        {w, "Configuration", "Band", nullptr, true, QByteArray(w).replace("Band=7\r\n", "")},
        {w, "Window", "Width", "4800", true, w + "\r\nWidth=4800\r\n"},
        {w, "Serial", "Baud", "9600", true, w + "\r\n[Serial]\r\nBaud=9600\r\n"},
        {w, "Window", nullptr, nullptr, true, w.left(w.indexOf("[Window]"))},
        {w, "Configuration", "Band", "7", true, w},
        // New lines take the file's own line ending.
        {"[A]\nk=1\n", "A", "n", "2", true, "[A]\nk=1\nn=2\n"},
        {"[A]\rk=1\r", "A", "n", "2", true, "[A]\rk=1\rn=2\r"},
        {"\xEF\xBB\xBF[A]\nk=1\n", "A", "n", "2", true, "\xEF\xBB\xBF[A]\nk=1\nn=2\n"},
        // A line break would let the rest pass for keys or sections of its own.
        {w, "Configuration", "CommPort", "3\r\n[Evil]\r\nx=1", false, w},
        {w, "Configuration", "Comm\nPort", "3", false, w},
        {w, "Config\ruration", "CommPort", "3", false, w},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.section) + "/" + (c.key ? c.key : "(section)"));
        put(c.before);
        EXPECT_EQ(WritePrivateProfileString(c.section, c.key, c.value, path()) != 0, c.accepted);
        EXPECT_EQ(contents(), c.after);
    }
}

TEST_F(ProfileFileTest, FileSurvivesFailedWritesAndKeepsItsPermissions) {
    put(kWindowsFile);
    ::chmod(path().constData(), 0640);
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("Folder.ini")));
    const QStringList entries = folderEntries();
    EXPECT_EQ(WritePrivateProfileString("Configuration", "CommPort", "3", path("none/x.ini")), 0);
    EXPECT_EQ(WritePrivateProfileString("Configuration", "CommPort", "3", path("Folder.ini")), 0);
    EXPECT_EQ(WritePrivateProfileString("Configuration", nullptr, nullptr, path("Folder.ini")), 0);
    if (::geteuid() != 0) {  // root may write to a read-only file
        ::chmod(path().constData(), 0444);
        EXPECT_EQ(WritePrivateProfileString("Configuration", "CommPort", "3", path()), 0);
        ::chmod(path().constData(), 0640);
    }
    // A size limit makes the write fail part way, as a full disk would; root
    // is bound by it too.
    const QByteArray big(4000, 'x');
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit tight{1024, saved.rlim_max};
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tight), 0);
    const int interrupted = WritePrivateProfileString("Window", "Big", big.constData(), path());
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(interrupted, 0);

    EXPECT_EQ(contents(), kWindowsFile);
    EXPECT_EQ(folderEntries(), entries) << "nothing created, no temporary file left behind";
    // The same write goes through without the limit, and the rewrite keeps
    // the file's permissions.
    EXPECT_NE(WritePrivateProfileString("Window", "Big", big.constData(), path()), 0);
    struct stat info {};
    ASSERT_EQ(::stat(path().constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

}  // namespace
