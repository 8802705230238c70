#include "platform/profile/ProfileFunctions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cstring>

#include "platform/profile/FileReplacement.h"
#include "platform/profile/IniText.h"
#include "platform/profile/TextCodec.h"

namespace ProfileFunctions {
namespace {

// What the functions find at a file name. A file that is simply missing
// reads as empty; one that cannot be opened at all leaves reads to their
// defaults and writes to failure.
struct Profile {
    bool opened = false;
    QByteArray bytes;
};

Profile openProfile(const char* fileName, bool forWriting) {
    if (!fileName) return {};
    const QFileInfo info(QFile::decodeName(fileName));
    if (!info.exists()) return {info.dir().exists(), {}};
    // Only a plain file: a named pipe in its place would hang the reader.
    QFile file(info.filePath());
    if (!info.isFile() || (forWriting && !info.isWritable()) || !file.open(QIODevice::ReadOnly))
        return {};
    Profile profile{true, file.readAll()};
    return file.error() == QFileDevice::NoError ? profile : Profile{};
}

QString arg(const char* text) { return text ? TextCodec::fromAnsi(text) : QString(); }

// The steps below reproduce how the profile functions fill a buffer of
// `size` characters, including where they cut a list that does not fit; each
// returns the characters up to the count the function reports.

// A value, or a default, loses one pair of matching quotes around it, and so
// does a value that the buffer cuts just before its closing quote: that cut
// takes the character before the quote with it.
QString copyEntry(const QString& text, qint64 size) {
    QString value = text;
    const bool quoted = value.size() > 1 && (value.front() == u'"' || value.front() == u'\'') &&
                        value.back() == value.front();
    if (quoted) value.remove(0, 1);
    QString out = value.left(size - 1);
    if (quoted && size >= value.size() && !out.isEmpty()) out.chop(1);
    return out;
}

QString keyList(const QStringList& names, qint64 size) {
    QString out;
    qint64 room = size;
    for (const QString& name : names) {
        if (room <= 2) break;
        const qint64 length = std::min<qint64>(name.size(), room - 2);
        out += name.left(length) + QChar(u'\0');
        room -= length + 1;
        if (room < 2) break;
    }
    return room <= 1 ? out.left(std::max<qint64>(size - 2, 0)) : out;
}

QString sectionList(const QStringList& names, qint64 size) {
    QString out;
    qint64 room = size - 1;
    for (const QString& name : names) {
        if (name.size() + 1 >= room) {
            if (room > 0) out += name.left(room - 1) + QChar(u'\0');
            return out.left(std::max<qint64>(size - 2, 0));
        }
        out += name + QChar(u'\0');
        room -= name.size() + 1;
    }
    return out;
}

// Trailing spaces of a value's default go, but a default of spaces keeps one.
QString valueDefault(const QString& text) {
    qsizetype end = text.size();
    while (end > 1 && text[end - 1] == u' ') --end;
    return text.left(end);
}

std::uint32_t putText(const QString& text, char* buffer) {
    const QByteArray bytes = TextCodec::toAnsi(text);
    std::memcpy(buffer, bytes.constData(), bytes.size());
    buffer[bytes.size()] = '\0';
    return static_cast<std::uint32_t>(bytes.size());
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

}  // namespace

std::uint32_t GetPrivateProfileString(const char* section, const char* key,
                                      const char* defaultValue, char* buffer, std::uint32_t size,
                                      const char* fileName) {
    if (!buffer || size == 0) return 0;
    const Profile profile = openProfile(fileName, false);
    const IniText ini(profile.bytes);
    if (!section)
        return putText(profile.opened ? sectionList(ini.sectionNames(), size) : "", buffer);
    if (!key) {
        const QString list = profile.opened ? keyList(ini.keyNames(arg(section)), size) : "";
        // A list that starts with an empty name cannot be told from no list.
        return putText(
            list.isEmpty() || list.front() == u'\0' ? copyEntry(arg(defaultValue), size) : list,
            buffer);
    }
    const QString fallback = valueDefault(arg(defaultValue));
    if (!profile.opened) return putText(fallback.left(qint64{size} - 1), buffer);
    return putText(copyEntry(ini.value(arg(section), arg(key)).value_or(fallback), size), buffer);
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
    // A line break would end the line early and let the rest pass for other
    // keys or sections, so such names and values are refused.
    if (hasLineBreak(section) || hasLineBreak(key) || hasLineBreak(value)) return 0;
    const Profile profile = openProfile(fileName, true);
    if (!profile.opened || !section) return 0;
    IniText ini(profile.bytes);
    bool changed = false;
    if (!key)
        changed = ini.removeSection(arg(section));
    else if (!value)
        changed = ini.removeKey(arg(section), arg(key));
    else
        changed = ini.setValue(arg(section), arg(key), arg(value));
    if (!changed) return 1;
    const QByteArray blank = TextCodec::encode(QStringLiteral(" "), ini.encoding());
    return FileReplacement::replace(fileName, ini.toBytes(), blank) ? 1 : 0;
}

}  // namespace ProfileFunctions
