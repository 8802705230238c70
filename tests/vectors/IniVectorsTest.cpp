#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <optional>
#include <vector>

#include "platform/ProfileFunctions.h"

// Replays the recorded profile-function cases against our implementation.
// Cases flagged "windows_may_differ" describe details in which the recorder
// is suspected to differ from the real system; their mismatches are printed
// rather than failed.

namespace {

using Bytes = std::optional<QByteArray>;

QString vectorsPath() {
    const QByteArray fromEnv = qgetenv("VANTREL_INI_VECTORS");
    return fromEnv.isEmpty() ? QStringLiteral(VANTREL_SHARED_DIR "/ini-vectors/vectors.json")
                             : QString::fromLocal8Bit(fromEnv);
}

Bytes bytesOf(const QJsonValue& value) {
    if (value.isNull() || value.isUndefined()) return std::nullopt;
    if (value.isObject()) return QByteArray::fromBase64(value["base64"].toString().toLatin1());
    return value.toString().toLatin1();
}

const char* ptr(const Bytes& bytes) { return bytes ? bytes->constData() : nullptr; }

Bytes readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    return file.readAll();
}

QString show(const Bytes& bytes) {
    if (!bytes) return QStringLiteral("<none>");
    QString text = QString::fromLatin1(bytes->left(120).toPercentEncoding(" =[];\"'"));
    if (bytes->size() > 120) text += QStringLiteral("...(%1 bytes)").arg(bytes->size());
    return text;
}

class CaseRunner {
public:
    CaseRunner(const QJsonObject& testCase, const QString& folder)
        : m_case(testCase),
          m_file(QDir(folder).filePath(QStringLiteral("case.ini"))),
          m_missingDirFile(QDir(folder).filePath(QStringLiteral("no_such_dir/s.ini"))) {}

    // Runs every operation and returns the mismatches found.
    QStringList run() {
        if (const Bytes initial = bytesOf(m_case["initial_file"])) {
            QFile file(m_file);
            if (!file.open(QIODevice::WriteOnly) || file.write(*initial) != initial->size()) {
                return {QStringLiteral("cannot create the case file")};
            }
            file.close();
            if (m_case["readonly"].toBool()) ::chmod(QFile::encodeName(m_file), 0444);
        }
        const QJsonArray ops = m_case["ops"].toArray();
        for (int i = 0; i < ops.size(); ++i) runOp(i, ops[i].toObject());
        const Bytes finalFile = readFile(m_file);
        const Bytes wanted = bytesOf(m_case["final_file"]);
        if (finalFile != wanted) {
            m_problems
                << QStringLiteral("final file %1, expected %2").arg(show(finalFile), show(wanted));
        }
        return m_problems;
    }

private:
    void runOp(int index, const QJsonObject& op) {
        const QString where = QStringLiteral("op %1 (%2): ").arg(index).arg(op["op"].toString());
        const QByteArray file = QFile::encodeName(
            op["file"].toString() == QLatin1String("missing_dir") ? m_missingDirFile : m_file);
        const Bytes section = bytesOf(op["section"]);
        const Bytes key = bytesOf(op["key"]);
        const QJsonObject expect = op["expect"].toObject();
        const QString name = op["op"].toString();
        if (name == QLatin1String("get_string")) {
            const auto size = static_cast<std::uint32_t>(op["size"].toInt());
            const int guard = 16;
            QByteArray buffer(static_cast<int>(size) + guard, '\xCC');
            const std::uint32_t count = ProfileFunctions::GetPrivateProfileString(
                ptr(section), ptr(key), ptr(bytesOf(op["default"])), buffer.data(), size,
                file.constData());
            const QByteArray written = *bytesOf(expect["written"]);
            if (count != static_cast<std::uint32_t>(expect["return"].toInt())) {
                m_problems << where + QStringLiteral("returned %1, expected %2")
                                          .arg(count)
                                          .arg(expect["return"].toInt());
            }
            if (buffer.left(written.size()) != written) {
                m_problems << where + QStringLiteral("buffer %1, expected %2")
                                          .arg(show(buffer.left(written.size())), show(written));
            }
            if (buffer.mid(static_cast<int>(size)) != QByteArray(guard, '\xCC')) {
                m_problems << where + QStringLiteral("wrote past the buffer");
            }
        } else if (name == QLatin1String("get_int")) {
            const auto result = static_cast<std::int32_t>(ProfileFunctions::GetPrivateProfileInt(
                ptr(section), ptr(key), op["default"].toInt(), file.constData()));
            if (result != expect["return"].toInt()) {
                m_problems << where + QStringLiteral("returned %1, expected %2")
                                          .arg(result)
                                          .arg(expect["return"].toInt());
            }
        } else if (name == QLatin1String("write_string")) {
            const int result = ProfileFunctions::WritePrivateProfileString(
                ptr(section), ptr(key), ptr(bytesOf(op["value"])), file.constData());
            if ((result != 0) != (expect["return"].toInt() != 0)) {
                m_problems << where + QStringLiteral("returned %1, expected %2")
                                          .arg(result)
                                          .arg(expect["return"].toInt());
            }
            const Bytes after = readFile(QFile::decodeName(file));
            const Bytes wanted = bytesOf(expect["file"]);
            if (after != wanted) {
                m_problems << where + QStringLiteral("file %1, expected %2")
                                          .arg(show(after), show(wanted));
            }
        } else {
            m_problems << where + QStringLiteral("unknown operation");
        }
    }

    QJsonObject m_case;
    QString m_file;
    QString m_missingDirFile;
    QStringList m_problems;
};

TEST(IniVectors, RecordedCasesHold) {
    QFile source(vectorsPath());
    ASSERT_TRUE(source.open(QIODevice::ReadOnly)) << source.fileName().toStdString();
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(source.readAll(), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    const QJsonArray cases = document["cases"].toArray();
    ASSERT_FALSE(cases.isEmpty());
    ASSERT_EQ(cases.size(), document["count"].toInt());

    int passed = 0;
    int skipped = 0;
    for (const QJsonValue& value : cases) {
        const QJsonObject testCase = value.toObject();
        const std::string id = testCase["id"].toString().toStdString();
        // Root may write to a read-only file, so such a case proves nothing there.
        if (testCase["readonly"].toBool() && ::geteuid() == 0) {
            ++skipped;
            continue;
        }
        QTemporaryDir folder;
        ASSERT_TRUE(folder.isValid());
        const QStringList problems = CaseRunner(testCase, folder.path()).run();
        if (problems.isEmpty()) {
            ++passed;
        } else if (testCase["windows_may_differ"].toBool()) {
            std::printf("[ informative ] %s (%s)\n", id.c_str(),
                        testCase["note"].toString().toUtf8().constData());
            for (const QString& problem : problems) {
                std::printf("                  %s\n", problem.toUtf8().constData());
            }
        } else {
            for (const QString& problem : problems)
                ADD_FAILURE() << id << ": " << problem.toStdString();
        }
    }
    std::printf("[ vectors     ] %d of %d cases matched exactly, %d skipped\n", passed,
                static_cast<int>(cases.size()), skipped);
}

}  // namespace
