#pragma once

#include <QByteArray>
#include <QList>
#include <optional>
#include <vector>

// The text of one INI file, kept line by line so that an edit changes only the
// lines it has to: every other line, comment, blank line and line ending stays
// byte for byte as it was, and new lines use the ending the file already uses.
// Names are 8-bit byte strings compared without regard to case; lookups go to
// the first section and the first key of a given name, as the profile
// functions always have.
class IniText {
public:
    explicit IniText(const QByteArray& bytes = {});

    QByteArray toBytes() const;

    // Names of all sections in file order (duplicates included, the unnamed
    // "[]" left out).
    QList<QByteArray> sectionNames() const;

    // Key names of the first section called `section`, in file order; lines
    // without '=' and ';' comment lines are left out. Empty when there is no
    // such section.
    QList<QByteArray> keyNames(const QByteArray& section) const;

    // The value of the first key called `key` as written (blanks around it
    // removed, quotes kept), or nothing when the key, its '=' or the section
    // is missing.
    std::optional<QByteArray> rawValue(const QByteArray& section, const QByteArray& key) const;

    // Each returns true when it changed the text.
    bool setValue(const QByteArray& section, const QByteArray& key, const QByteArray& value);
    bool removeKey(const QByteArray& section, const QByteArray& key);
    bool removeSection(const QByteArray& section);

    // Blanks are spaces and tabs.
    static QByteArray trimmed(const QByteArray& text);

private:
    enum class Kind { Blank, Header, Entry };
    struct Line {
        QByteArray text;  // without its line ending
        QByteArray eol;   // "\r\n", "\n", "\r", or empty for a last line without one
        Kind kind = Kind::Blank;
        QByteArray name;  // section name of a header, key name of an entry
        bool hasValue = false;
        QByteArray value;
    };

    static Line parseLine(const QByteArray& text, const QByteArray& eol);
    static bool sameName(const QByteArray& a, const QByteArray& b);
    int findSection(const QByteArray& section) const;  // header line index or -1
    int sectionEnd(int header) const;                  // one past its last line
    int findKey(int header, const QByteArray& key) const;
    void insertLine(int at, const QByteArray& text);

    QByteArray m_bom;           // a UTF-8 byte-order mark in front of the first line
    QByteArray m_eol = "\r\n";  // the ending for new lines: the file's first one
    std::vector<Line> m_lines;
};
