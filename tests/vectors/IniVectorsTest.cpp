#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <optional>

#include "OrdinaryUser.h"
#include "platform/IniText.h"
#include "platform/ProfileFunctions.h"

// Replays the recorded profile-function cases against our implementation:
// the shared set, and those recorded for this program beside this file
// (VANTREL_INI_VECTORS names one other file of the same format instead).
//
// A file that a write leaves with other bytes than the recording passes when
// it means the same, that is when every section, key and value reads the same
// from both: we change only the lines a write has to change, where the
// recorded implementation rewrites the whole file in its own layout. Cases
// flagged "windows_may_differ" are printed rather than failed, as are those
// in which we differ on purpose (kDeliberate).

namespace {

struct Deliberate {
    const char* id;
    const char* reason;
};

const Deliberate kDeliberate[] = {
    {"keep-line-break-refused",
     "a section, key or value holding CR or LF is refused: written as it stands it would end "
     "the line early and let the rest pass for keys or sections of its own"},
    {"keep-empty-header",
     "a '[]' header survives a rewrite; the recorded implementation writes that section "
     "without its header, so its keys join the section before it"},
    {"keep-nul-line",
     "a line holding a NUL keeps its bytes when another line changes; the recorded "
     "implementation writes it cut at the NUL, which changes what it means"},
    {"keep-no-best-fit",
     "a character that code page 1252 lacks reads as '?'; the recorded implementation turns "
     "some into a look-alike (U+0100 into 'A'), so that different names read the same"},
};

const char* deliberateReason(const QString& id) {
    for (const Deliberate& d : kDeliberate) {
        if (id == QLatin1String(d.id)) return d.reason;
    }
    return nullptr;
}

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

bool sameMeaning(const Bytes& a, const Bytes& b) {
    if (!a || !b) return a == b;
    const IniText first(*a);
    const IniText second(*b);
    const std::vector<IniText::Section> x = first.outline();
    const std::vector<IniText::Section> y = second.outline();
    const auto sameKeys = [](const IniText::Section& s, const IniText::Section& t) {
        return s.name == t.name &&
               std::equal(s.keys.begin(), s.keys.end(), t.keys.begin(), t.keys.end(),
                          [](const IniText::Key& k, const IniText::Key& l) {
                              return k.name == l.name && k.value == l.value;
                          });
    };
    return first.encoding() == second.encoding() &&
           std::equal(x.begin(), x.end(), y.begin(), y.end(), sameKeys);
}

struct Outcome {
    QStringList problems;
    bool layoutDiffers = false;  // a file meant the same with other bytes

    void expect(const QString& what, const Bytes& got, const Bytes& want) {
        if (got != want)
            problems << QStringLiteral("%1 %2, expected %3").arg(what, show(got), show(want));
    }
    void expectFile(const QString& what, const Bytes& got, const Bytes& want) {
        if (got != want && sameMeaning(got, want))
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
    if (name == QLatin1String("get_string")) {
        const int size = op["size"].toInt();
        const QByteArray fill(16, '\xCC');  // past `size` the call must leave it alone
        QByteArray buffer = QByteArray(size, '\xCC') + fill;
        result = ProfileFunctions::GetPrivateProfileString(
            ptr(section), ptr(key), ptr(bytesOf(op["default"])), buffer.data(),
            static_cast<std::uint32_t>(size), path.constData());
        const Bytes written = bytesOf(expect["written"]);
        outcome.expect(name + QStringLiteral(" written"), buffer.left(written->size()), written);
        if (buffer.mid(size) != fill)
            outcome.problems << name + QStringLiteral(" wrote past the buffer");
    } else if (name == QLatin1String("get_int")) {
        result = static_cast<std::int32_t>(ProfileFunctions::GetPrivateProfileInt(
            ptr(section), ptr(key), op["default"].toInt(), path.constData()));
    } else if (name == QLatin1String("write_string")) {
        // Any non-zero result means success.
        result = ProfileFunctions::WritePrivateProfileString(
                     ptr(section), ptr(key), ptr(bytesOf(op["value"])), path.constData()) != 0;
        outcome.expectFile(name + QStringLiteral(" left"), readFile(caseFile),
                           bytesOf(expect["file"]));
    } else {
        outcome.problems << name + QStringLiteral(": unknown operation");
        return;
    }
    outcome.expect(name + QStringLiteral(" returned"), QByteArray::number(result),
                   QByteArray::number(expect["return"].toInt()));
}

Outcome runCase(const QJsonObject& testCase, const QString& folder) {
    const QString file = QDir(folder).filePath(QStringLiteral("case.ini"));
    const QString missing = QDir(folder).filePath(QStringLiteral("no_such_dir/s.ini"));
    Outcome outcome;
    for (const QJsonValue& op : testCase["ops"].toArray()) {
        const bool missingDir = op["file"].toString() == QLatin1String("missing_dir");
        runOp(op.toObject(), missingDir ? missing : file, file, outcome);
        if (missingDir && QFileInfo::exists(QFileInfo(missing).path()))
            outcome.problems << QStringLiteral("the missing folder was created");
    }
    outcome.expectFile(QStringLiteral("final file"), readFile(file),
                       bytesOf(testCase["final_file"]));
    return outcome;
}

// A read-only file must refuse writes, which root would not notice.
Outcome runReadOnlyCase(const QJsonObject& testCase, const QString& folder) {
    const QString file = QDir(folder).filePath(QStringLiteral("case.ini"));
    Outcome outcome;
    if (!OrdinaryUser::own(folder) || !OrdinaryUser::own(file) ||
        ::chmod(QFile::encodeName(file), 0444) != 0) {
        outcome.problems << QStringLiteral("cannot prepare the read-only file");
        return outcome;
    }
    std::string reason;
    const std::optional<std::string> result = OrdinaryUser::run(
        [&] {
            const Outcome inner = runCase(testCase, folder);
            return std::string(inner.layoutDiffers ? "1" : "0") +
                   inner.problems.join(u'\n').toStdString();
        },
        &reason);
    if (!result) {
        outcome.problems << QString::fromStdString("not run: " + reason);
        return outcome;
    }
    outcome.layoutDiffers = result->front() == '1';
    const QString problems = QString::fromStdString(result->substr(1));
    if (!problems.isEmpty()) outcome.problems = problems.split(u'\n');
    return outcome;
}

QStringList vectorFiles() {
    const QByteArray fromEnv = qgetenv("VANTREL_INI_VECTORS");
    if (!fromEnv.isEmpty()) return {QString::fromLocal8Bit(fromEnv)};
    QStringList files{QStringLiteral(VANTREL_SHARED_DIR "/ini-vectors/vectors.json")};
    const QDir own(QStringLiteral(VANTREL_VECTOR_DIR));
    for (const QString& name : own.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name))
        files << own.filePath(name);
    return files;
}

TEST(IniVectors, RecordedCasesHold) {
    for (const QString& path : vectorFiles()) {
        SCOPED_TRACE(path.toStdString());
        QFile source(path);
        ASSERT_TRUE(source.open(QIODevice::ReadOnly));
        QJsonParseError error{};
        const QJsonDocument document = QJsonDocument::fromJson(source.readAll(), &error);
        const QJsonArray cases = document["cases"].toArray();
        ASSERT_FALSE(cases.isEmpty()) << error.errorString().toStdString();
        ASSERT_EQ(cases.size(), document["count"].toInt());

        int exact = 0;
        int layout = 0;
        int differing = 0;
        for (const QJsonValue& value : cases) {
            const QJsonObject testCase = value.toObject();
            const QString id = testCase["id"].toString();
            const QTemporaryDir folder;
            if (const Bytes initial = bytesOf(testCase["initial_file"])) {
                QFile out(folder.filePath(QStringLiteral("case.ini")));
                ASSERT_TRUE(out.open(QIODevice::WriteOnly) &&
                            out.write(*initial) == initial->size());
            }
            const Outcome outcome = testCase["readonly"].toBool()
                                        ? runReadOnlyCase(testCase, folder.path())
                                        : runCase(testCase, folder.path());
            const char* reason = deliberateReason(id);
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
