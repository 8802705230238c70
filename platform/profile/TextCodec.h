#pragma once

#include <QByteArray>
#include <QString>

// How the text of an INI file is stored. A file is 8-bit text in the ANSI code
// page unless it begins with a byte-order mark.
enum class TextEncoding { Ansi, Utf8, Utf16LE, Utf16BE };

// Conversions between stored bytes and text, done the way the profile
// functions do them, including their treatment of broken input.
namespace TextCodec {

// The encoding announced by the first bytes of a file; `markLength` receives
// the length of the byte-order mark (0 for ANSI text).
TextEncoding detect(const QByteArray& bytes, qsizetype* markLength);
QByteArray byteOrderMark(TextEncoding encoding);
// Bytes per code unit: 2 for UTF-16, otherwise 1.
int unitSize(TextEncoding encoding);

// A malformed UTF-8 sequence becomes U+FFFD; an odd byte at the end of
// UTF-16 text counts as a unit whose other byte is 0. `following` is the
// number of bytes that the stored text holds after `bytes` (which end before
// a line break): a UTF-8 sequence too long for what is left of the whole text
// takes all of it.
QString decode(const QByteArray& bytes, TextEncoding encoding, qsizetype following = 0);
QByteArray encode(const QString& text, TextEncoding encoding);

// The ANSI code page, 1252: the 8-bit text that the profile functions take
// and return. Every byte stands for a character; a character that the code
// page lacks becomes '?'.
QString fromAnsi(const QByteArray& bytes);
QByteArray toAnsi(const QString& text);

}  // namespace TextCodec
