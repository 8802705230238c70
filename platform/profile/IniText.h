#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "platform/profile/TextCodec.h"

// The text of one INI file, read the way the profile functions read it and
// edited line by line: an edit changes only the lines it has to, every other
// line keeps its bytes and line ending, and new lines take the file's
// encoding and its first line ending.
//
// How a line reads:
// - blanks (tab, line feed, vertical tab, form feed, carriage return, ^Z and
//   space) around a line, a name or a value do not count;
// - a line that starts with '[' and holds a ']' is a header; the section's
//   name runs to the last ']' ("[a]b] x" is the section "a]b");
// - lines before the first header belong to a section with the empty name;
// - any other line is a key: its name runs to the first '=', its value
//   follows; a line without '=' is a key without a value, a line starting
//   with ';' a comment key, which lists leave out;
// - a NUL character ends the name or value it stands in;
// - a line with nothing before its '=' right after a key with an empty name
//   does not count at all.
// Names match without regard to the case of ASCII letters (other letters
// must match exactly). The first section of a name, and in it the first key
// of a name, is the one that reads and takes writes.
class IniText {
public:
    struct Key {
        QString name;
        std::optional<QString> value;  // none for a line without '='
    };
    struct Section {
        QString name;
        std::vector<Key> keys;  // comments included
    };

    explicit IniText(const QByteArray& bytes = {});

    QByteArray toBytes() const;
    TextEncoding encoding() const { return m_encoding; }
    // Every section as the file defines it, the unnamed one first.
    std::vector<Section> outline() const;

    // Names of the sections that have one, in file order, duplicates included.
    QStringList sectionNames() const;
    // Names of the keys with a value in the first section called exactly
    // `section`, comments left out; empty when there is no such section.
    QStringList keyNames(const QString& section) const;
    // The value of `key` in `section`, both taken without surrounding blanks;
    // none when the section, the key or its '=' is missing.
    std::optional<QString> value(const QString& section, const QString& key) const;

    // Sets `key` in `section` (both found without surrounding blanks) to
    // `value` without its leading blanks. A missing key goes after the
    // section's last line, a missing section at the end of the file; both are
    // written with their names as given, less leading blanks.
    bool setValue(const QString& section, const QString& key, const QString& value);
    // Removes the first key called exactly `key` from the first section of
    // that name that has it.
    bool removeKey(const QString& section, const QString& key);
    // Removes the first section called exactly `section` with all its lines.
    bool removeSection(const QString& section);
    // Each of the three returns true when it changed the text.

    static bool isBlank(QChar c);
    static QString trimmed(const QString& text);

private:
    enum class Kind { Blank, Header, Key, Ignored };
    struct Line {
        QByteArray bytes;  // as stored, without the line ending
        QByteArray eol;    // the line ending as stored, empty for a last line without one
        QString text;      // `bytes` decoded
        Kind kind = Kind::Blank;
        QString name;  // section name of a header, key name of a key
        std::optional<QString> value;
    };
    struct Range {
        int header;  // -1 for the unnamed section
        int begin;   // its first line after the header
        int end;     // one past its last line
        QString name;
    };

    void classify();
    static bool sameName(const QString& a, const QString& b);
    std::optional<Range> findSection(const QString& name) const;
    int findKey(const Range& range, const QString& key) const;
    void insertLine(int at, const QString& text);

    TextEncoding m_encoding = TextEncoding::Ansi;
    QByteArray m_newline;  // encoded line ending for new lines
    std::vector<Line> m_lines;
    std::vector<Range> m_sections;  // the unnamed section first, then one per header
};
