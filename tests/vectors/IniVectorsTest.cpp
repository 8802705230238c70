#include <gtest/gtest.h>
#include <unistd.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <optional>

#include "platform/ProfileFunctions.h"

// Replays the recorded profile-function cases against our implementation.
// Cases flagged "windows_may_differ" describe details in which the recorder
// is suspected to differ from the real system; their mismatches are printed
// rather than failed.

namespace {

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

QStringList differ(const QString& what, const Bytes& got, const Bytes& want) {
    if (got == want) return {};
    return {QStringLiteral("%1 %2, expected %3").arg(what, show(got), show(want))};
}

// Runs one operation on `file` and returns what did not match the recording.
QStringList runOp(const QJsonObject& op, const QString& file) {
    const QString name = op["op"].toString();
    const QByteArray path = QFile::encodeName(file);
    const Bytes section = bytesOf(op["section"]);
    const Bytes key = bytesOf(op["key"]);
    const QJsonObject expect = op["expect"].toObject();
    QStringList problems;
    std::int64_t result = 0;
    const char* recorded = nullptr;  // the expected bytes that `got` is compared with
    Bytes got;
    if (name == QLatin1String("get_string")) {
        const int size = op["size"].toInt();
        const QByteArray fill(16, '\xCC');  // past `size` the call must leave it alone
        QByteArray buffer = QByteArray(size, '\xCC') + fill;
        result = ProfileFunctions::GetPrivateProfileString(
            ptr(section), ptr(key), ptr(bytesOf(op["default"])), buffer.data(),
            static_cast<std::uint32_t>(size), path.constData());
        recorded = "written";
        got = buffer.left(bytesOf(expect[recorded])->size());
        if (buffer.mid(size) != fill) problems << name + QStringLiteral(" wrote past the buffer");
    } else if (name == QLatin1String("get_int")) {
        result = static_cast<std::int32_t>(ProfileFunctions::GetPrivateProfileInt(
            ptr(section), ptr(key), op["default"].toInt(), path.constData()));
    } else if (name == QLatin1String("write_string")) {
        // Any non-zero result means success.
        result = ProfileFunctions::WritePrivateProfileString(
                     ptr(section), ptr(key), ptr(bytesOf(op["value"])), path.constData()) != 0;
        recorded = "file";
        got = readFile(file);
    } else {
        return {name + QStringLiteral(": unknown operation")};
    }
    problems << differ(name + QStringLiteral(" returned"), QByteArray::number(result),
                       QByteArray::number(expect["return"].toInt()));
    if (recorded) problems << differ(name + ' ' + recorded, got, bytesOf(expect[recorded]));
    return problems;
}

TEST(IniVectors, RecordedCasesHold) {
    const QByteArray fromEnv = qgetenv("VANTREL_INI_VECTORS");
    QFile source(fromEnv.isEmpty() ? QStringLiteral(VANTREL_SHARED_DIR "/ini-vectors/vectors.json")
                                   : QString::fromLocal8Bit(fromEnv));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly)) << source.fileName().toStdString();
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(source.readAll(), &error);
    const QJsonArray cases = document["cases"].toArray();
    ASSERT_FALSE(cases.isEmpty()) << error.errorString().toStdString();
    ASSERT_EQ(cases.size(), document["count"].toInt());

    int passed = 0;
    int skipped = 0;
    for (const QJsonValue& value : cases) {
        const QJsonObject testCase = value.toObject();
        // Root may write to a read-only file, so such a case proves nothing there.
        if (testCase["readonly"].toBool() && ::geteuid() == 0) {
            ++skipped;
            continue;
        }
        const QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("case.ini"));
        if (const Bytes initial = bytesOf(testCase["initial_file"])) {
            QFile out(file);
            ASSERT_TRUE(out.open(QIODevice::WriteOnly) && out.write(*initial) == initial->size());
            if (testCase["readonly"].toBool())
                out.setPermissions(QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        }
        QStringList problems;
        for (const QJsonValue& op : testCase["ops"].toArray()) {
            const bool missingDir = op["file"].toString() == QLatin1String("missing_dir");
            problems << runOp(op.toObject(),
                              missingDir ? folder.filePath("no_such_dir/s.ini") : file);
        }
        problems << differ(QStringLiteral("final file"), readFile(file),
                           bytesOf(testCase["final_file"]));
        const QByteArray id = testCase["id"].toString().toUtf8();
        if (problems.isEmpty()) {
            ++passed;
        } else if (testCase["windows_may_differ"].toBool()) {
            std::printf("[ informative ] %s (%s)\n                  %s\n", id.constData(),
                        testCase["note"].toString().toUtf8().constData(),
                        problems.join("\n                  ").toUtf8().constData());
        } else {
            ADD_FAILURE() << id.constData() << ": " << problems.join("\n  ").toStdString();
        }
    }
    std::printf("[ vectors     ] %d of %d cases matched exactly, %d skipped\n", passed,
                static_cast<int>(cases.size()), skipped);
}

}  // namespace
