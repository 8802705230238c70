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
#include "platform/profile/FileReplacement.h"
#include "platform/profile/ProfileFunctions.h"

using ProfileFunctions::WritePrivateProfileString;

// The recorded vectors hold what reads and writes mean; these cases hold what
// they cannot show: untouched bytes kept as they were, and how a write treats
// the file on disk (its folder, owner, mode, links and temporary files).

namespace {

const QByteArray kPort3 = "[Configuration]\r\nCommPort=3\r\n";
// A file as a Windows editor leaves it: CRLF endings, comments, blank lines
// between sections, indented keys and no ending after the last line.
const QByteArray kWindowsFile =
    "; Vantrel settings\r\n[Configuration]\r\n  CommPort = 2   ; first port\r\nBand=7\r\n\r\n"
    "[Window]\r\n; position in twips\r\nLeft=1200\r\nTop=900";
const QByteArray kWindowsFilePort3 =
    QByteArray(kWindowsFile).replace("  CommPort = 2   ; first port", "CommPort=3");

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
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit tight{1024, saved.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &tight);
    const int result =
        WritePrivateProfileString("Window", "Big", QByteArray(4000, 'x'), encoded(path));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    return result;
}

// What went wrong, for a body that may run in another process. The checks
// are evaluated in their order, so each may follow from the one before.
std::string failures(std::initializer_list<std::pair<bool, const char*>> checks) {
    std::string text;
    for (const auto& [ok, what] : checks)
        if (!ok) text += std::string(what) + "; ";
    return text;
}

class ProfileFileTest : public ::testing::Test {
protected:
    void TearDown() override { ::chmod(encoded(path("locked")), 0755); }

    QString path(const char* name = "Vantrel.ini") const {
        return m_dir.filePath(QString::fromLatin1(name));
    }
    // locked/Vantrel.ini holding `text`, in a folder its owner cannot write.
    QString lockedFile(const QByteArray& text) {
        const QString folder = path("locked");
        const QString file = folder + QStringLiteral("/Vantrel.ini");
        EXPECT_TRUE(QDir().mkdir(folder) && put(file, text));
        EXPECT_TRUE(OrdinaryUser::own(m_dir.path()) && OrdinaryUser::own(folder) &&
                    OrdinaryUser::own(file));
        ::chmod(encoded(folder), 0555);
        return file;
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
        {w, "configuration", "COMMPORT", "3", true, kWindowsFilePort3},
        {w, "Configuration", "Parity", "N", true,
         QByteArray(w).replace("Band=7\r\n", "Band=7\r\nParity=N\r\n")},
        {w, "Configuration", "Band", nullptr, true, QByteArray(w).replace("Band=7\r\n", "")},
        {w, "Window", "Width", "4800", true, w + "\r\nWidth=4800\r\n"},
        {w, "Serial", "Baud", "9600", true, w + "\r\n[Serial]\r\nBaud=9600\r\n"},
        {w, "Window", nullptr, nullptr, true, w.left(w.indexOf("[Window]"))},
        {"[A]\r\nk = 1\r\n", "A", "k", "1", true, "[A]\r\nk = 1\r\n"},  // the value it has
        // New lines take the file's own line ending.
        {"[A]\nk=1\n", "A", "n", "2", true, "[A]\nk=1\nn=2\n"},
        {"[A]\rk=1\r", "A", "n", "2", true, "[A]\rk=1\rn=2\r"},
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

// No look-alike stands in for a character the code page lacks (U+0100 has
// one), so that two different names never read the same. The recorded
// vectors show what becomes of other characters outside it.
TEST_F(ProfileFileTest, CharactersOutsideTheCodePageReadAsQuestionMarks) {
    ASSERT_TRUE(put(path(), "\xEF\xBB\xBF[S]\nk=\xC4\x80\n"));
    char buffer[16] = {};
    ProfileFunctions::GetPrivateProfileString("S", "k", "", buffer, sizeof buffer, encoded(path()));
    EXPECT_STREQ(buffer, "?");
}

TEST_F(ProfileFileTest, FailedWritesLeaveTheFileAndNothingElse) {
    ASSERT_TRUE(put(path(), kWindowsFile));
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
    // Without the limit the same write goes through.
    EXPECT_NE(WritePrivateProfileString("Window", "Big", QByteArray(4000, 'x'), encoded(path())),
              0);
}

// A file that no copy could replace, in a folder that cannot be written or
// because a copy could not be given its owner, is rewritten where it is.
TEST_F(ProfileFileTest, FilesThatCannotBeReplacedAreRewrittenInPlace) {
    for (const bool locked : {true, false}) {
        SCOPED_TRACE(locked ? "folder that cannot be written" : "file of another owner");
        QString file = path("shared.ini");
        if (locked) {
            file = lockedFile(kWindowsFile);
        } else if (::geteuid() != 0) {
            GTEST_SKIP() << "only root can make a file that the test user may write but not own";
        } else {
            ASSERT_TRUE(put(file, kWindowsFile) && OrdinaryUser::own(m_dir.path()));
            ASSERT_EQ(::chown(encoded(file), 0, OrdinaryUser::kId), 0);
            ASSERT_EQ(::chmod(encoded(file), 0664), 0);
        }
        const QString folder = QFileInfo(file).path();
        const QStringList before = entries(folder);
        asOrdinaryUser([&] {
            const struct stat original = statOf(file);
            return failures({
                {savePort(file) == 1, "the port was not saved"},
                {contents(file) == kWindowsFilePort3, "the longer text is wrong"},
                // A shorter text is padded and cut; nothing of the padding stays.
                {WritePrivateProfileString("Window", nullptr, nullptr, encoded(file)) == 1,
                 "the section was not removed"},
                {contents(file) ==
                     "; Vantrel settings\r\n[Configuration]\r\nCommPort=3\r\nBand=7\r\n\r\n",
                 "the shorter text is wrong"},
                {saveAgainstSizeLimit(file) == 0, "a write past the size limit succeeded"},
                {contents(file).endsWith("Band=7\r\n\r\n"), "a refused write changed the file"},
                {!locked || savePort(folder + QStringLiteral("/New.ini")) == 0,
                 "a new file was reported saved in a folder that cannot be written"},
                {statOf(file).st_ino == original.st_ino, "the file was replaced"},
                {statOf(file).st_uid == original.st_uid, "the file changed its owner"},
                {entries(folder) == before, "the folder holds more than the file"},
            });
        });
    }
}

// A writer killed at any moment leaves the old text or the new one, never a
// mix, and at most one temporary file that the next change removes. A kill
// between the padding and the cut of a shorter text written in place leaves
// the padding: blanks after the last line, which read as nothing.
std::string killWritersMidWrite(const QString& file) {
    const QByteArray shortText = "[Configuration]\r\nCommPort=7\r\n";
    const QByteArray longText = "[Configuration]\r\nCommPort=1234567\r\n";
    const QString folder = QFileInfo(file).path();
    std::string problems;
    for (int round = 0; round < 60; ++round) {
        const pid_t writer = ::fork();
        if (writer == 0) {
            for (int i = 0;; ++i) savePort(file, i % 2 ? "7" : "1234567");
        }
        ::usleep(static_cast<useconds_t>(std::rand() % 3000));
        ::kill(writer, SIGKILL);
        ::waitpid(writer, nullptr, 0);
        QByteArray now = contents(file);
        while (now.endsWith(' ')) now.chop(1);
        if (now != shortText && now != longText)
            problems += "round " + std::to_string(round) + " left " + now.toStdString() + "; ";
        if (entries(folder).size() > 2) problems += "more than one temporary file; ";
    }
    return problems + failures({{savePort(file, "8") == 1 && entries(folder).size() == 1,
                                 "a write did not clear the temporary file a kill left"}});
}

TEST_F(ProfileFileTest, KilledWritersLeaveTheOldOrTheNewText) {
    ASSERT_TRUE(put(path(), "[Configuration]\r\nCommPort=7\r\n"));
    EXPECT_EQ(killWritersMidWrite(path()), "");
    // The same where the folder cannot be written and the file changes in place.
    const QString file = lockedFile("[Configuration]\r\nCommPort=7\r\n");
    asOrdinaryUser([&] { return killWritersMidWrite(file); });
}

// A file with two names is changed in place, so that both see the change; a
// file with one name is replaced whole and keeps owner, group, mode and
// attributes: root saving a user's file must leave it the user's.
TEST_F(ProfileFileTest, RewriteKeepsHardLinksOwnerGroupModeAndAttributes) {
    ASSERT_TRUE(put(path("Linked.ini"), kWindowsFile));
    ASSERT_EQ(::link(encoded(path("Linked.ini")), encoded(path("Second.ini"))), 0);
    EXPECT_EQ(savePort(path("Linked.ini")), 1);
    EXPECT_EQ(contents(path("Second.ini")), kWindowsFilePort3);
    EXPECT_EQ(statOf(path("Linked.ini")).st_nlink, 2u);
    EXPECT_EQ(statOf(path("Linked.ini")).st_ino, statOf(path("Second.ini")).st_ino);

    const QByteArray file = encoded(path());
    ASSERT_TRUE(put(path(), kWindowsFile));
    if (::geteuid() == 0) {
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
        for (const char* name : {"Vantrel.ini", "middle.ini", "real/Vantrel.ini"})
            QFile::remove(path(name));
        if (c.targetExists) {
            ASSERT_TRUE(put(target, kWindowsFile));
        }
        const char* names[] = {"Vantrel.ini", "middle.ini"};
        for (int i = 0; i < c.chain.size(); ++i)
            ASSERT_EQ(::symlink(encoded(c.chain[i]), encoded(path(names[i]))), 0);
        EXPECT_EQ(savePort(path()), c.saved ? 1 : 0);
        EXPECT_TRUE(S_ISLNK(statOf(path()).st_mode));
        EXPECT_EQ(contents(target), !c.saved         ? QByteArray("<missing>")
                                    : c.targetExists ? kWindowsFilePort3
                                                     : kPort3);
        EXPECT_EQ(entries(path("real")).size(), c.saved ? 1 : 0);
    }
}

TEST_F(ProfileFileTest, NewFileHonoursTheUmask) {
    const std::pair<mode_t, mode_t> cases[] = {{022, 0644}, {027, 0640}, {077, 0600}, {002, 0664}};
    for (const auto& [mask, mode] : cases) {
        SCOPED_TRACE(mask);
        QFile::remove(path());
        const mode_t previous = ::umask(mask);
        const int saved = savePort(path());
        ::umask(previous);
        EXPECT_EQ(saved, 1);
        EXPECT_EQ(contents(path()), kPort3);
        EXPECT_EQ(statOf(path()).st_mode & 07777, mode);
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
