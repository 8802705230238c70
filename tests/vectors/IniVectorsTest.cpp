#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <optional>

#include "platform/profile/IniText.h"
#include "platform/profile/ProfileFunctions.h"

#ifndef Q_OS_WIN
#include <sys/stat.h>

#include "OrdinaryUser.h"
#endif

// Replays the recorded profile-function cases against our implementation,
// and on Windows against the system's own functions: the shared set, and
// those recorded for this program beside this file (VANTREL_INI_VECTORS
// names one other file of the same format instead).
//
// A file that a write leaves with other bytes than the recording passes when
// it means the same, that is when every section, key and value reads the same
// from both: we change only the lines a write has to change, where the
// recorded implementation rewrites the whole file in its own layout. Cases
// flagged "windows_may_differ" are printed rather than failed, as are those
// in which we differ on purpose (kDeliberate).

namespace {

// Where our implementation differs from the recorded one on purpose; the
// system's own functions (Windows) are the recorded kind.
const QHash<QString, const char*> kDeliberate = {
#ifndef Q_OS_WIN
    {"keep-line-break-refused", "CR or LF in a name or value would forge lines; refused"},
    {"keep-empty-header", "a '[]' header stays, so its keys do not join the section before it"},
    {"keep-nul-line", "a line holding a NUL keeps its bytes when another line changes"},
    {"keep-no-best-fit", "no look-alike for a character outside code page 1252; '?' instead"},
#endif
};

using Bytes = std::optional<QByteArray>;

Bytes bytesOf(const QJsonValue& value) {
    if (value.isNull() || value.isUndefined()) return std::nullopt;
    if (value.isObject()) return QByteArray::fromBase64(value["base64"].toString().toLatin1());
    return value.toString().toLatin1();
}

const char* ptr(const Bytes& bytes) { return bytes ? bytes->constData() : nullptr; }

Bytes readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? Bytes(file.readAll()) : std::nullopt;
}

QString show(const Bytes& bytes) {
    if (!bytes) return QStringLiteral("<none>");
    return QString::fromLatin1(bytes->left(120).toPercentEncoding(" =[];\"'")) +
           (bytes->size() > 120 ? "..." : "");
}

// What a file means: its encoding, then every section, key and value in order.
QStringList meaning(const QByteArray& bytes) {
    const IniText text(bytes);
    QStringList out{QString::number(static_cast<int>(text.encoding()))};
    for (const IniText::Section& section : text.outline()) {
        out << u'S' + section.name;
        for (const IniText::Key& key : section.keys)
            out << u'K' + key.name << (key.value ? u'V' + *key.value : QStringLiteral("N"));
    }
    return out;
}

struct Outcome {
    QStringList problems;
    bool layoutDiffers = false;  // a file meant the same with other bytes

    void expect(const QString& what, const Bytes& got, const Bytes& want) {
        if (got != want)
            problems << QStringLiteral("%1 %2, expected %3").arg(what, show(got), show(want));
    }
    void expectFile(const QString& what, const Bytes& got, const Bytes& want) {
        if (got != want && got && want && meaning(*got) == meaning(*want))
            layoutDiffers = true;
        else
            expect(what, got, want);
    }
};

// Runs one operation; `target` is the file it names, `caseFile` the file
// that the recording shows after it.
void runOp(const QJsonObject& op, const QString& target, const QString& caseFile,
           Outcome& outcome) {
    const QString name = op["op"].toString();
    const QByteArray path = QFile::encodeName(target);
    const Bytes section = bytesOf(op["section"]);
    const Bytes key = bytesOf(op["key"]);
    const QJsonObject expect = op["expect"].toObject();
    std::int64_t result = 0;
    if (name == u"get_string") {
        const int size = op["size"].toInt();
        const QByteArray fill(16, '\xCC');  // past `size` the call must leave it alone
        QByteArray buffer = QByteArray(size, '\xCC') + fill;
        result = ProfileFunctions::GetPrivateProfileString(
            ptr(section), ptr(key), ptr(bytesOf(op["default"])), buffer.data(),
            static_cast<std::uint32_t>(size), path.constData());
        const Bytes written = bytesOf(expect["written"]);
        outcome.expect(name + " written", buffer.left(written->size()), written);
        if (buffer.mid(size) != fill) outcome.problems << name + " wrote past the buffer";
    } else if (name == u"get_int") {
        result = static_cast<std::int32_t>(ProfileFunctions::GetPrivateProfileInt(
            ptr(section), ptr(key), op["default"].toInt(), path.constData()));
    } else if (name == u"write_string") {
        // Any non-zero result means success.
        result = ProfileFunctions::WritePrivateProfileString(
                     ptr(section), ptr(key), ptr(bytesOf(op["value"])), path.constData()) != 0;
        outcome.expectFile(name + " left", readFile(caseFile), bytesOf(expect["file"]));
    } else {
        outcome.problems << name + ": unknown operation";
        return;
    }
    outcome.expect(name + " returned", QByteArray::number(result),
                   QByteArray::number(expect["return"].toInt()));
}

Outcome runCase(const QJsonObject& testCase, const QString& folder) {
    const QString file = QDir(folder).filePath(QStringLiteral("case.ini"));
    const QString missing = QDir(folder).filePath(QStringLiteral("no_such_dir/s.ini"));
    Outcome outcome;
    for (const QJsonValue& op : testCase["ops"].toArray()) {
        const bool missingDir = op["file"].toString() == u"missing_dir";
        runOp(op.toObject(), missingDir ? missing : file, file, outcome);
        if (missingDir && QFileInfo::exists(QFileInfo(missing).path()))
            outcome.problems << QStringLiteral("the missing folder was created");
    }
    outcome.expectFile(QStringLiteral("final file"), readFile(file),
                       bytesOf(testCase["final_file"]));
    return outcome;
}

// Lays out the case's file and runs the case; a read-only file must refuse
// writes, which root would not notice, so on Unix such a case runs as an
// ordinary user. On Windows it gets the read-only attribute, which binds
// every user but Wine's root.
Outcome replay(const QJsonObject& testCase, const QString& folder) {
    const QString file = QDir(folder).filePath(QStringLiteral("case.ini"));
    QFile out(file);
    const Bytes initial = bytesOf(testCase["initial_file"]);
    if (initial && !(out.open(QIODevice::WriteOnly) && out.write(*initial) == initial->size()))
        return {{QStringLiteral("cannot write the case's file")}};
    out.close();
    if (!testCase["readonly"].toBool()) return runCase(testCase, folder);
#ifdef Q_OS_WIN
    if (!QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther))
        return {{QStringLiteral("not run: cannot make the file read-only")}};
    return runCase(testCase, folder);
#else
    std::string reason = "cannot make the file read-only";
    std::optional<std::string> result;
    if (OrdinaryUser::own(folder) && OrdinaryUser::own(file) &&
        ::chmod(QFile::encodeName(file), 0444) == 0) {
        // The child sends whether the layout differed, then its problems.
        result = OrdinaryUser::run(
            [&] {
                const Outcome inner = runCase(testCase, folder);
                return (inner.layoutDiffers ? "1" : "0") + inner.problems.join(u'\n').toStdString();
            },
            &reason);
    }
    if (!result) return {{QString::fromStdString("not run: " + reason)}};
    return {QString::fromStdString(result->substr(1)).split(u'\n', Qt::SkipEmptyParts),
            result->front() == '1'};
#endif
}

QStringList vectorFiles() {
    const QString one = qEnvironmentVariable("VANTREL_INI_VECTORS");
    if (!one.isEmpty()) return {one};
    QStringList files{QStringLiteral(VANTREL_SHARED_DIR "/ini-vectors/vectors.json")};
    const QDir own(QStringLiteral(VANTREL_VECTOR_DIR));
    for (const QString& name : own.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name))
        files << own.filePath(name);
    return files;
}

TEST(IniVectors, RecordedCasesHold) {
    for (const QString& path : vectorFiles()) {
        SCOPED_TRACE(path.toStdString());
        const Bytes source = readFile(path);
        ASSERT_TRUE(source);
        QJsonParseError error{};
        const QJsonDocument document = QJsonDocument::fromJson(*source, &error);
        const QJsonArray cases = document["cases"].toArray();
        ASSERT_FALSE(cases.isEmpty()) << error.errorString().toStdString();
        ASSERT_EQ(cases.size(), document["count"].toInt());

        int exact = 0, layout = 0, differing = 0;
        for (const QJsonValue& value : cases) {
            const QJsonObject testCase = value.toObject();
            const QString id = testCase["id"].toString();
            const QTemporaryDir folder;
            const Outcome outcome = replay(testCase, folder.path());
            const char* reason = kDeliberate.value(id, nullptr);
            if (outcome.problems.isEmpty()) {
                EXPECT_EQ(reason, nullptr) << id.toStdString() << " no longer differs";
                ++(outcome.layoutDiffers ? layout : exact);
                continue;
            }
            const QString details = outcome.problems.join(QStringLiteral("\n                  "));
            if (reason || testCase["windows_may_differ"].toBool()) {
                ++differing;
                std::printf("[ informative ] %s (%s)\n                  %s\n", qPrintable(id),
                            reason ? reason : qPrintable(testCase["note"].toString()),
                            qPrintable(details));
            } else {
                ADD_FAILURE() << qPrintable(id) << ": " << qPrintable(details);
            }
        }
        std::printf(
            "[ vectors     ] %s: %d cases, %d exact, %d the same but for the layout of "
            "untouched lines, %d informative\n",
            qPrintable(QFileInfo(path).fileName()), static_cast<int>(cases.size()), exact, layout,
            differing);
    }
}

}  // namespace
