#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <csignal>
#include <cstdlib>

#include "OrdinaryUser.h"
#include "platform/FileReplacement.h"
#include "platform/ProfileFunctions.h"

using ProfileFunctions::WritePrivateProfileString;

// The recorded vectors hold what reads and writes mean; these cases hold what
// they cannot show: untouched bytes kept as they were, and how a write treats
// the file on disk (its folder, owner, mode, links and temporary files).

namespace {

const QByteArray kPort3 = "[Configuration]\r\nCommPort=3\r\n";

QByteArray encoded(const QString& path) { return QFile::encodeName(path); }

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

bool put(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

struct stat statOf(const QString& path) {
    struct stat info {};
    ::lstat(encoded(path).constData(), &info);
    return info;
}

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden |
                                  QDir::System);
}

int savePort(const QString& path, const char* port = "3") {
    return WritePrivateProfileString("Configuration", "CommPort", port, encoded(path));
}

// A write whose size the limit refuses, as a full disk would refuse it.
int saveAgainstSizeLimit(const QString& path) {
    const QByteArray big(4000, 'x');
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit tight{1024, saved.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &tight);
    const int result = WritePrivateProfileString("Window", "Big", big.constData(), encoded(path));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    return result;
}

// What went wrong in a body that may run in another process.
class Problems {
public:
    void check(bool ok, const std::string& what) {
        if (!ok) m_text += what + "; ";
    }
    const std::string& text() const { return m_text; }

private:
    std::string m_text;
};

class ProfileFileTest : public ::testing::Test {
protected:
    QString path(const char* name = "Vantrel.ini") const {
        return m_dir.filePath(QString::fromLatin1(name));
    }
    // Runs `body` as an ordinary user, or skips the test where that cannot be.
    void asOrdinaryUser(const std::function<std::string()>& body) {
        std::string reason;
        const std::optional<std::string> problems = OrdinaryUser::run(body, &reason);
        if (!problems) GTEST_SKIP() << reason;
        EXPECT_EQ(*problems, "");
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
        // New lines take the file's own line ending and encoding.
        {"[A]\nk=1\n", "A", "n", "2", true, "[A]\nk=1\nn=2\n"},
        {"[A]\rk=1\r", "A", "n", "2", true, "[A]\rk=1\rn=2\r"},
        {"\xEF\xBB\xBF[A]\nk=1\n", "A", "n", "\xE9", true, "\xEF\xBB\xBF[A]\nk=1\nn=\xC3\xA9\n"},
        {QByteArray("\xFF\xFE[\0A\0]\0\n\0", 10), "A", "n", "2", true,
         QByteArray("\xFF\xFE[\0A\0]\0\n\0n\0=\0002\0\n\0", 18)},
        // Lines the recorded implementation would rewrite keep their meaning:
        // a '[]' header still ends the section before it, and a name cut by
        // a NUL stays cut.
        {"[A]\r\na=1\r\n[]\r\nb=2\r\n", "A", "n", "3", true, "[A]\r\na=1\r\nn=3\r\n[]\r\nb=2\r\n"},
        {QByteArray("[S]\r\nm \0=3\r\n", 12), "S", "a", "1", true,
         QByteArray("[S]\r\nm \0=3\r\na=1\r\n", 17)},
        // A line break would let the rest pass for keys or sections of its own.
        {w, "Configuration", "CommPort", "3\r\n[Evil]\r\nx=1", false, w},
        {w, "Configuration", "Comm\nPort", "3", false, w},
        {w, "Config\ruration", "CommPort", "3", false, w},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.section) + "/" + (c.key ? c.key : "(section)"));
        ASSERT_TRUE(put(path(), c.before));
        EXPECT_EQ(WritePrivateProfileString(c.section, c.key, c.value, encoded(path())) != 0,
                  c.accepted);
        EXPECT_EQ(contents(path()), c.after);
    }
}

TEST_F(ProfileFileTest, CharactersOutsideTheCodePageReadAsQuestionMarks) {
    // No look-alike stands in for a missing character, so that two different
    // names never read the same.
    const struct {
        const char* utf8;
        const char* read;
    } cases[] = {{"\xC4\x80", "?"},
                 {"\xE2\x82\xAC", "\x80"},
                 {"\xE4\xB8\xAD", "?"},
                 {"\xF0\x9F\x98\x80", "??"},
                 {"\xC3\xA9", "\xE9"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.utf8);
        ASSERT_TRUE(put(path(), QByteArray("\xEF\xBB\xBF[S]\nk=") + c.utf8 + "\n"));
        char buffer[16] = {};
        ProfileFunctions::GetPrivateProfileString("S", "k", "", buffer, sizeof buffer,
                                                  encoded(path()));
        EXPECT_STREQ(buffer, c.read);
    }
}

TEST_F(ProfileFileTest, FailedWritesLeaveTheFileAndNothingElse) {
    ASSERT_TRUE(put(path(), kWindowsFile));
    ::chmod(encoded(path()).constData(), 0640);
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("Folder.ini")));
    const QStringList before = entries(m_dir.path());
    EXPECT_EQ(savePort(path("none/x.ini")), 0);
    EXPECT_EQ(savePort(path("Folder.ini")), 0);
    EXPECT_EQ(
        WritePrivateProfileString("Configuration", nullptr, nullptr, encoded(path("Folder.ini"))),
        0);
    EXPECT_EQ(saveAgainstSizeLimit(path()), 0);
    EXPECT_EQ(contents(path()), kWindowsFile);
    EXPECT_EQ(entries(m_dir.path()), before) << "nothing created, no temporary file left";
    // Without the limit the same write goes through and keeps the mode.
    EXPECT_NE(WritePrivateProfileString("Window", "Big", QByteArray(4000, 'x'), encoded(path())),
              0);
    EXPECT_EQ(statOf(path()).st_mode & 07777, 0640u);
}

TEST_F(ProfileFileTest, WritableFileInAFolderThatIsNotIsRewrittenInPlace) {
    const QString folder = path("locked");
    const QString file = folder + QStringLiteral("/Vantrel.ini");
    ASSERT_TRUE(QDir().mkdir(folder) && put(file, kWindowsFile));
    ASSERT_TRUE(OrdinaryUser::own(m_dir.path()) && OrdinaryUser::own(folder) &&
                OrdinaryUser::own(file));
    ::chmod(encoded(folder).constData(), 0555);
    asOrdinaryUser([&] {
        Problems p;
        const ino_t inode = statOf(file).st_ino;
        p.check(savePort(file) == 1, "the port was not saved");
        p.check(contents(file) ==
                    QByteArray(kWindowsFile).replace("  CommPort = 2   ; first port", "CommPort=3"),
                "the longer text is wrong");
        // A shorter text is padded and cut; nothing of the padding stays.
        p.check(WritePrivateProfileString("Window", nullptr, nullptr, encoded(file)) == 1,
                "the section was not removed");
        p.check(contents(file) ==
                    "; Vantrel settings\r\n[Configuration]\r\nCommPort=3\r\nBand=7\r\n\r\n",
                "the shorter text is wrong");
        p.check(saveAgainstSizeLimit(file) == 0, "a write past the size limit succeeded");
        p.check(contents(file).endsWith("Band=7\r\n\r\n"), "a refused write changed the file");
        p.check(savePort(folder + QStringLiteral("/New.ini")) == 0,
                "a new file was reported saved in a folder that cannot be written");
        p.check(statOf(file).st_ino == inode, "the file was replaced");
        p.check(entries(folder) == QStringList{QStringLiteral("Vantrel.ini")},
                "the folder holds more than the file");
        return p.text();
    });
    ::chmod(encoded(folder).constData(), 0755);
}

// A writer killed at any moment leaves the old text or the new one, never a
// mix, and at most one temporary file that the next write removes. A kill
// between the padding and the cut of a shorter text written in place leaves
// the padding: blanks after the last line, which read as nothing.
std::string killWritersMidWrite(const QString& file, int rounds) {
    const QByteArray shortText = "[Configuration]\r\nCommPort=7\r\n";
    const QByteArray longText = "[Configuration]\r\nCommPort=1234567\r\n";
    const QString folder = QFileInfo(file).path();
    Problems p;
    for (int round = 0; round < rounds; ++round) {
        const pid_t writer = ::fork();
        if (writer == 0) {
            for (int i = 0;; ++i) savePort(file, i % 2 ? "7" : "1234567");
        }
        ::usleep(static_cast<useconds_t>(std::rand() % 3000));
        ::kill(writer, SIGKILL);
        ::waitpid(writer, nullptr, 0);
        QByteArray now = contents(file);
        while (now.endsWith(' ')) now.chop(1);
        p.check(now == shortText || now == longText,
                "round " + std::to_string(round) + " left " + now.toStdString());
        p.check(entries(folder).size() <= 2, "more than one temporary file");
    }
    p.check(savePort(file, "7") == 1 && entries(folder).size() == 1,
            "a write did not clear the temporary file a kill left");
    return p.text();
}

TEST_F(ProfileFileTest, KilledWritersLeaveTheOldOrTheNewText) {
    ASSERT_TRUE(put(path(), "[Configuration]\r\nCommPort=7\r\n"));
    EXPECT_EQ(killWritersMidWrite(path(), 60), "");
    // The same where the folder cannot be written and the file changes in place.
    const QString folder = path("locked");
    const QString file = folder + QStringLiteral("/Vantrel.ini");
    ASSERT_TRUE(QDir().mkdir(folder) && put(file, "[Configuration]\r\nCommPort=7\r\n"));
    ASSERT_TRUE(OrdinaryUser::own(m_dir.path()) && OrdinaryUser::own(folder) &&
                OrdinaryUser::own(file));
    ::chmod(encoded(folder).constData(), 0555);
    asOrdinaryUser([&] { return killWritersMidWrite(file, 60); });
    ::chmod(encoded(folder).constData(), 0755);
}

TEST_F(ProfileFileTest, RewriteKeepsOwnerGroupModeAndAttributes) {
    // Root saving a user's file must leave it the user's.
    const bool root = ::geteuid() == 0;
    const QByteArray file = encoded(path());
    ASSERT_TRUE(put(path(), kWindowsFile));
    if (root) {
        ASSERT_EQ(::chown(file, OrdinaryUser::kId, OrdinaryUser::kId), 0);
    }
    ASSERT_EQ(::chmod(file, 0640), 0);
    if (::setxattr(file, "user.vantrel", "kept", 4, 0) != 0)
        GTEST_SKIP() << "this file system holds no user attributes";
    const struct stat before = statOf(path());
    EXPECT_EQ(savePort(path()), 1);
    const struct stat after = statOf(path());
    EXPECT_NE(after.st_ino, before.st_ino) << "a file with one name is replaced whole";
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_gid, before.st_gid);
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    char value[8] = {};
    EXPECT_EQ(::getxattr(file, "user.vantrel", value, sizeof value), 4);
    EXPECT_STREQ(value, "kept");

    // A user who may write a file but cannot give a copy its owner updates it
    // where it is.
    if (!root) GTEST_SKIP() << "only root can make a file that the test user may write but not own";
    const QString shared = path("shared.ini");
    ASSERT_TRUE(put(shared, kWindowsFile));
    ASSERT_EQ(::chown(encoded(shared), 0, OrdinaryUser::kId), 0);
    ASSERT_EQ(::chmod(encoded(shared), 0664), 0);
    ASSERT_TRUE(OrdinaryUser::own(m_dir.path()));
    asOrdinaryUser([&] {
        Problems p;
        p.check(savePort(shared) == 1, "the shared file was not saved");
        p.check(statOf(shared).st_uid == 0, "the shared file changed its owner");
        p.check(contents(shared).contains("CommPort=3"), "the shared file lacks the port");
        return p.text();
    });
}

TEST_F(ProfileFileTest, EveryNameOfAHardLinkedFileSeesTheChange) {
    ASSERT_TRUE(put(path(), kWindowsFile));
    ASSERT_EQ(::link(encoded(path()), encoded(path("Second.ini"))), 0);
    EXPECT_EQ(savePort(path()), 1);
    EXPECT_EQ(contents(path("Second.ini")), contents(path()));
    EXPECT_TRUE(contents(path()).contains("CommPort=3"));
    EXPECT_EQ(statOf(path()).st_nlink, 2u);
    EXPECT_EQ(statOf(path()).st_ino, statOf(path("Second.ini")).st_ino);
}

TEST_F(ProfileFileTest, SymbolicLinksStayLinksToTheUpdatedFile) {
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("real")));
    const QString target = path("real/Vantrel.ini");
    const struct {
        const char* name;
        QStringList chain;  // each link's text, the first one named Vantrel.ini
        bool targetExists;
        bool saved;
    } cases[] = {
        {"absolute link", {target}, true, true},
        {"relative link", {QStringLiteral("real/Vantrel.ini")}, true, true},
        {"link to a link", {QStringLiteral("middle.ini"), target}, true, true},
        // The link's owner chose where the settings live; the file is created
        // there, as any program writing through the link would.
        {"dangling link", {target}, false, true},
        {"link loop", {QStringLiteral("middle.ini"), QStringLiteral("Vantrel.ini")}, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(path());
        QFile::remove(path("middle.ini"));
        QFile::remove(target);
        if (c.targetExists) {
            ASSERT_TRUE(put(target, kWindowsFile));
        }
        const char* names[] = {"Vantrel.ini", "middle.ini"};
        for (int i = 0; i < c.chain.size(); ++i)
            ASSERT_EQ(::symlink(encoded(c.chain[i]), encoded(path(names[i]))), 0);
        EXPECT_EQ(savePort(path()), c.saved ? 1 : 0);
        EXPECT_TRUE(S_ISLNK(statOf(path()).st_mode));
        EXPECT_EQ(QFile::symLinkTarget(path()).isEmpty(), false);
        const QByteArray expected =
            !c.saved ? QByteArray("<missing>")
            : c.targetExists
                ? QByteArray(kWindowsFile).replace("  CommPort = 2   ; first port", "CommPort=3")
                : kPort3;
        EXPECT_EQ(contents(target), expected);
        EXPECT_EQ(entries(path("real")).size(), c.saved ? 1 : 0);
    }
}

TEST_F(ProfileFileTest, NewFileHonoursTheUmask) {
    const struct {
        mode_t umask;
        mode_t mode;
    } cases[] = {{022, 0644}, {027, 0640}, {077, 0600}, {002, 0664}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.umask);
        QFile::remove(path());
        const mode_t previous = ::umask(c.umask);
        const int saved = savePort(path());
        ::umask(previous);
        EXPECT_EQ(saved, 1);
        EXPECT_EQ(contents(path()), kPort3);
        EXPECT_EQ(statOf(path()).st_mode & 07777, c.mode);
    }
}

TEST_F(ProfileFileTest, NoTemporaryFileStaysBehind) {
    const QByteArray prefix = FileReplacement::temporaryPrefix("Vantrel.ini");
    const QString stale = path(prefix + "AbCd1234");
    const QString live = path(prefix + "LiveLock");
    for (const auto temporary :
         {FileReplacement::Temporary::Unnamed, FileReplacement::Temporary::Named}) {
        SCOPED_TRACE(temporary == FileReplacement::Temporary::Named ? "named" : "unnamed");
        ASSERT_TRUE(put(path(), kWindowsFile) && put(stale, "left by a writer that died") &&
                    put(live, "a writer at work"));
        // A writer at work holds the lock on its temporary file.
        QFile held(live);
        ASSERT_TRUE(held.open(QIODevice::ReadOnly));
        ASSERT_EQ(::flock(held.handle(), LOCK_EX), 0);
        EXPECT_TRUE(FileReplacement::replace(encoded(path()), kPort3, " ", temporary));
        EXPECT_EQ(contents(path()), kPort3);
        EXPECT_EQ(entries(m_dir.path()),
                  (QStringList{QString::fromLatin1(prefix + "LiveLock"), "Vantrel.ini"}));
        held.close();
        QFile::remove(live);
    }
}

}  // namespace
