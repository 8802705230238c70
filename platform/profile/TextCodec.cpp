#include "platform/profile/TextCodec.h"

#include <array>

namespace TextCodec {
namespace {

const QByteArray kUtf8Mark("\xEF\xBB\xBF");
const QByteArray kUtf16LEMark("\xFF\xFE");
const QByteArray kUtf16BEMark("\xFE\xFF");

// Code page 1252 from 0x80 to 0x9F; every other byte is the character of the
// same number. The five bytes the code page leaves undefined map to the
// control characters of their own number, so every byte survives a round trip.
constexpr std::array<char16_t, 32> kAnsiHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char16_t kReplacement = 0xFFFD;

char ansiByte(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    for (std::size_t i = 0; i < kAnsiHigh.size(); ++i) {
        if (kAnsiHigh[i] == c) return static_cast<char>(0x80 + i);
    }
    return '?';
}

// Continuation bytes that follow a lead byte, by lead byte from 0x80. 0xC0,
// 0xC1 and 0xF8 up cannot start a sequence.
int followers(unsigned char lead) {
    if (lead < 0xC2) return 0;
    if (lead < 0xE0) return 1;
    if (lead < 0xF0) return 2;
    if (lead < 0xF8) return 3;
    return 0;
}

bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// One character from `p`, advancing it. A malformed sequence gives U+FFFD.
// It consumes the lead byte and each continuation byte up to the one that
// shows the sequence cannot be valid, so "\xED\xA0\x80" (an encoded
// surrogate) gives two replacements and "\xE2\x82" before an ASCII byte
// one. A sequence cut by the end of the text is one replacement; the text
// goes on for `following` bytes after `end`, all of them line breaks or later.
char32_t decodeUtf8(const unsigned char*& p, const unsigned char* end, qsizetype following) {
    const unsigned char lead = *p++;
    if (lead < 0x80) return lead;
    const int count = followers(lead);
    if (count == 0) return kReplacement;
    if (end - p + following < count) {
        p = end;
        return kReplacement;
    }
    char32_t value = lead & (0x3F >> count);
    for (int left = count - 1; left >= 0; --left) {
        if (p == end || !isContinuation(*p)) return kReplacement;
        value = (value << 6) | (*p & 0x3F);
        // With one byte to go, a value already past U+10FFFF leaves that byte
        // unread; every other check comes after the byte is taken.
        if (left == 1 && value >= (0x110000 >> 6)) return kReplacement;
        ++p;
        const bool overlong = (left == 2 && value < 0x10) || (left == 1 && value < 0x20) ||
                              (left == 0 && value < 0x80);
        const bool surrogate = left == 1 && value >= (0xD800 >> 6) && value <= (0xDFFF >> 6);
        if (overlong || surrogate) return kReplacement;
    }
    return value;
}

void appendUtf8(QByteArray& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

QString decodeUtf16(const QByteArray& bytes, bool bigEndian) {
    QString text;
    text.reserve((bytes.size() + 1) / 2);
    for (qsizetype i = 0; i < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0;
        text += QChar(bigEndian ? (first << 8 | second) : (second << 8 | first));
    }
    return text;
}

}  // namespace

TextEncoding detect(const QByteArray& bytes, qsizetype* markLength) {
    const auto found = [&](const QByteArray& mark, TextEncoding encoding) {
        *markLength = mark.size();
        return encoding;
    };
    if (bytes.startsWith(kUtf8Mark)) return found(kUtf8Mark, TextEncoding::Utf8);
    if (bytes.startsWith(kUtf16LEMark)) return found(kUtf16LEMark, TextEncoding::Utf16LE);
    if (bytes.startsWith(kUtf16BEMark)) return found(kUtf16BEMark, TextEncoding::Utf16BE);
    return found({}, TextEncoding::Ansi);
}

QByteArray byteOrderMark(TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::Utf8:
            return kUtf8Mark;
        case TextEncoding::Utf16LE:
            return kUtf16LEMark;
        case TextEncoding::Utf16BE:
            return kUtf16BEMark;
        case TextEncoding::Ansi:
            break;
    }
    return {};
}

int unitSize(TextEncoding encoding) {
    return encoding == TextEncoding::Utf16LE || encoding == TextEncoding::Utf16BE ? 2 : 1;
}

QString decode(const QByteArray& bytes, TextEncoding encoding, qsizetype following) {
    switch (encoding) {
        case TextEncoding::Ansi:
            return fromAnsi(bytes);
        case TextEncoding::Utf16LE:
            return decodeUtf16(bytes, false);
        case TextEncoding::Utf16BE:
            return decodeUtf16(bytes, true);
        case TextEncoding::Utf8:
            break;
    }
    QString text;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const auto* end = p + bytes.size();
    while (p < end) {
        const char32_t c = decodeUtf8(p, end, following);
        if (c >= 0x10000) {
            text += QChar(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            text += QChar(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            text += QChar(static_cast<char16_t>(c));
        }
    }
    return text;
}

QByteArray encode(const QString& text, TextEncoding encoding) {
    QByteArray out;
    switch (encoding) {
        case TextEncoding::Ansi:
            return toAnsi(text);
        case TextEncoding::Utf16LE:
        case TextEncoding::Utf16BE:
            for (const QChar c : text) {
                const char high = static_cast<char>(c.unicode() >> 8);
                const char low = static_cast<char>(c.unicode() & 0xFF);
                out += encoding == TextEncoding::Utf16LE ? low : high;
                out += encoding == TextEncoding::Utf16LE ? high : low;
            }
            return out;
        case TextEncoding::Utf8:
            break;
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            appendUtf8(out, QChar::surrogateToUcs4(c, text[++i].unicode()));
        } else {
            appendUtf8(out, QChar::isSurrogate(c) ? kReplacement : c);
        }
    }
    return out;
}

QString fromAnsi(const QByteArray& bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        text[i] = QChar(byte >= 0x80 && byte < 0xA0 ? kAnsiHigh[byte - 0x80] : char16_t{byte});
    }
    return text;
}

QByteArray toAnsi(const QString& text) {
    QByteArray bytes(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) bytes[i] = ansiByte(text[i].unicode());
    return bytes;
}

}  // namespace TextCodec
