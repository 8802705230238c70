#include "platform/ProfileFunctions.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cstring>
#include <filesystem>

#include "platform/IniText.h"

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace ProfileFunctions {
namespace {

enum class Load { Ok, Missing, Unreadable };

struct LoadedFile {
    Load state = Load::Missing;
    QByteArray bytes;
};

LoadedFile loadFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) return {};
    QFile file(path);
    if (info.isDir() || !file.open(QIODevice::ReadOnly)) return {Load::Unreadable, {}};
    return {Load::Ok, file.readAll()};
}

QByteArray arg(const char* text) { return text ? QByteArray(text) : QByteArray(); }

// A value read back loses one pair of matching quotes around it.
QByteArray unquoted(const QByteArray& value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.mid(1, value.size() - 2);
    }
    return value;
}

std::uint32_t copyText(const QByteArray& text, char* buffer, std::uint32_t size) {
    const auto count = static_cast<std::uint32_t>(
        std::min<qsizetype>(text.size(), static_cast<qsizetype>(size) - 1));
    std::memcpy(buffer, text.constData(), count);
    buffer[count] = '\0';
    return count;
}

// Names, each followed by a NUL, and one more NUL at the end. The names must
// fit in size - 2 bytes; a list that does not is cut there and still ends in
// two NULs. Returns the bytes before the final NUL.
std::uint32_t copyList(const QList<QByteArray>& names, char* buffer, std::uint32_t size) {
    if (size < 2) {
        buffer[0] = '\0';
        return 0;
    }
    const std::uint32_t room = size - 2;
    std::uint32_t pos = 0;
    for (const QByteArray& name : names) {
        const auto length = static_cast<std::uint32_t>(name.size());
        if (length + 1 > room - pos) {
            std::memcpy(buffer + pos, name.constData(), room - pos);
            buffer[room] = '\0';
            buffer[room + 1] = '\0';
            return room;
        }
        std::memcpy(buffer + pos, name.constData(), length);
        pos += length;
        buffer[pos++] = '\0';
    }
    buffer[pos] = '\0';
    if (pos == 0) buffer[1] = '\0';
    return pos;
}

QByteArray cleanDefault(const char* defaultValue) {
    QByteArray text = arg(defaultValue);
    while (text.endsWith(' ')) text.chop(1);
    return text;
}

// The integer at the start of a text: an optional sign, then decimal digits,
// or binary, octal or hexadecimal ones after "0b", "0o" or "0x". The value
// wraps modulo 2^32 like the classic reader's.
std::uint32_t leadingInteger(const char* text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    while (*p != 0 && *p <= ' ') ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    unsigned base = 10;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'o' || p[1] == 'b')) {
        base = p[1] == 'x' ? 16 : p[1] == 'o' ? 8 : 2;
        p += 2;
    }
    std::uint32_t value = 0;
    for (;; ++p) {
        unsigned digit = 0;
        if (*p >= '0' && *p <= '9')
            digit = *p - '0';
        else if (*p >= 'a' && *p <= 'f')
            digit = *p - 'a' + 10;
        else if (*p >= 'A' && *p <= 'F')
            digit = *p - 'A' + 10;
        else
            break;
        if (digit >= base) break;
        value = value * base + digit;
    }
    return negative ? 0u - value : value;
}

bool hasLineBreak(const char* text) { return text && std::strpbrk(text, "\r\n") != nullptr; }

// Replaces the file by renaming a complete copy over it, so that a reader or a
// crash sees either the old text or the new one. QSaveFile is not used: it
// was seen to commit a truncated file after a failed write.
bool saveFile(const QString& path, const QByteArray& bytes) {
    const QFileInfo info(path);
    // Honour a read-only file even for a writer who could replace it.
    if (info.exists() && (!info.isFile() || !info.isWritable())) return false;
    const QString target =
        info.isSymLink() && !info.canonicalFilePath().isEmpty() ? info.canonicalFilePath() : path;
    QTemporaryFile temp(target + QStringLiteral(".XXXXXX"));
    if (!temp.open()) return false;
    if (temp.write(bytes) != bytes.size() || !temp.flush()) return false;
#ifdef Q_OS_UNIX
    if (::fsync(temp.handle()) != 0) return false;
#endif
    const QFileDevice::Permissions permissions =
        info.exists()
            ? QFileInfo(target).permissions()
            : QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
                  QFileDevice::WriteUser | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    temp.setPermissions(permissions);
    const QString tempName = temp.fileName();
    temp.close();
    if (temp.error() != QFileDevice::NoError) return false;
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(tempName.toStdU16String()),
                            std::filesystem::path(target.toStdU16String()), error);
    if (error) return false;
    temp.setAutoRemove(false);
    return true;
}

}  // namespace

std::uint32_t GetPrivateProfileString(const char* section, const char* key,
                                      const char* defaultValue, char* buffer, std::uint32_t size,
                                      const char* fileName) {
    if (!buffer || size == 0) return 0;
    const QByteArray fallback = cleanDefault(defaultValue);
    const LoadedFile file = fileName ? loadFile(QFile::decodeName(fileName)) : LoadedFile{};
    const IniText ini(file.bytes);
    if (!section) return copyList(ini.sectionNames(), buffer, size);
    if (!key) {
        const std::uint32_t count = copyList(ini.keyNames(section), buffer, size);
        return buffer[0] == '\0' ? copyText(fallback, buffer, size) : count;
    }
    const std::optional<QByteArray> value = ini.rawValue(section, key);
    return copyText(value ? unquoted(*value) : fallback, buffer, size);
}

std::uint32_t GetPrivateProfileInt(const char* section, const char* key, std::int32_t defaultValue,
                                   const char* fileName) {
    // The classic reader looks at no more than the first 29 characters.
    char text[30];
    if (GetPrivateProfileString(section, key, "", text, sizeof text, fileName) == 0) {
        return static_cast<std::uint32_t>(defaultValue);
    }
    return leadingInteger(text);
}

int WritePrivateProfileString(const char* section, const char* key, const char* value,
                              const char* fileName) {
    if (!section || !fileName) return 0;
    // A line break would end the line early and let the rest pass for other
    // keys or sections, so such names and values are refused.
    if (hasLineBreak(section) || hasLineBreak(key) || hasLineBreak(value)) return 0;
    const QString path = QFile::decodeName(fileName);
    const LoadedFile file = loadFile(path);
    if (file.state == Load::Unreadable) return 0;
    IniText ini(file.bytes);
    bool changed = false;
    if (!key)
        changed = ini.removeSection(section);
    else if (!value)
        changed = ini.removeKey(section, key);
    else
        changed = ini.setValue(section, key, value);
    if (!changed) return 1;
    return saveFile(path, ini.toBytes()) ? 1 : 0;
}

}  // namespace ProfileFunctions
