#include "platform/IniText.h"

namespace {

const QByteArray kUtf8Bom("\xEF\xBB\xBF");

bool isBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

IniText::IniText(const QByteArray& bytes) {
    qsizetype pos = 0;
    if (bytes.startsWith(kUtf8Bom)) {
        m_bom = kUtf8Bom;
        pos = m_bom.size();
    }
    bool eolSeen = false;
    const qsizetype size = bytes.size();
    while (pos < size) {
        qsizetype end = pos;
        while (end < size && bytes[end] != '\r' && bytes[end] != '\n') ++end;
        qsizetype next = end;
        if (next < size && bytes[next] == '\r') ++next;
        if (next < size && bytes[next] == '\n') ++next;
        const QByteArray eol = bytes.mid(end, next - end);
        if (!eolSeen && !eol.isEmpty()) {
            m_eol = eol;
            eolSeen = true;
        }
        m_lines.push_back(parseLine(bytes.mid(pos, end - pos), eol));
        pos = next;
    }
}

QByteArray IniText::toBytes() const {
    QByteArray out = m_bom;
    for (const Line& line : m_lines) out += line.text + line.eol;
    return out;
}

QByteArray IniText::trimmed(const QByteArray& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin])) ++begin;
    while (end > begin && isBlank(text[end - 1])) --end;
    return text.mid(begin, end - begin);
}

IniText::Line IniText::parseLine(const QByteArray& text, const QByteArray& eol) {
    Line line;
    line.text = text;
    line.eol = eol;
    const QByteArray body = trimmed(text);
    if (body.startsWith('[')) {
        // Whatever follows the closing bracket (often a comment) is ignored;
        // without one the line is no header but an ordinary line.
        const qsizetype close = body.indexOf(']');
        if (close > 0) {
            line.kind = Kind::Header;
            line.name = trimmed(body.mid(1, close - 1));
            return line;
        }
    }
    if (body.isEmpty()) return line;
    line.kind = Kind::Entry;
    const qsizetype equals = body.indexOf('=');
    if (equals < 0) {
        line.name = body;
        return line;
    }
    line.name = trimmed(body.left(equals));
    line.value = trimmed(body.mid(equals + 1));
    line.hasValue = true;
    return line;
}

bool IniText::sameName(const QByteArray& a, const QByteArray& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

int IniText::findSection(const QByteArray& section) const {
    const QByteArray wanted = trimmed(section);
    for (int i = 0; i < static_cast<int>(m_lines.size()); ++i) {
        if (m_lines[i].kind == Kind::Header && sameName(m_lines[i].name, wanted)) return i;
    }
    return -1;
}

int IniText::sectionEnd(int header) const {
    int i = header + 1;
    while (i < static_cast<int>(m_lines.size()) && m_lines[i].kind != Kind::Header) ++i;
    return i;
}

int IniText::findKey(int header, const QByteArray& key) const {
    const QByteArray wanted = trimmed(key);
    const int end = sectionEnd(header);
    for (int i = header + 1; i < end; ++i) {
        if (m_lines[i].kind == Kind::Entry && sameName(m_lines[i].name, wanted)) return i;
    }
    return -1;
}

QList<QByteArray> IniText::sectionNames() const {
    QList<QByteArray> names;
    for (const Line& line : m_lines) {
        if (line.kind == Kind::Header && !line.name.isEmpty()) names.append(line.name);
    }
    return names;
}

QList<QByteArray> IniText::keyNames(const QByteArray& section) const {
    QList<QByteArray> names;
    const int header = findSection(section);
    if (header < 0) return names;
    const int end = sectionEnd(header);
    for (int i = header + 1; i < end; ++i) {
        const Line& line = m_lines[i];
        // An empty name cannot be told apart from the end of a NUL-separated
        // list, so it is left out like comments.
        if (line.kind == Kind::Entry && line.hasValue && !line.name.isEmpty() &&
            !line.name.startsWith(';')) {
            names.append(line.name);
        }
    }
    return names;
}

std::optional<QByteArray> IniText::rawValue(const QByteArray& section,
                                            const QByteArray& key) const {
    const int header = findSection(section);
    if (header < 0) return std::nullopt;
    const int at = findKey(header, key);
    if (at < 0 || !m_lines[at].hasValue) return std::nullopt;
    return m_lines[at].value;
}

void IniText::insertLine(int at, const QByteArray& text) {
    // A last line without an ending gets one before anything follows it.
    if (at > 0 && m_lines[at - 1].eol.isEmpty()) m_lines[at - 1].eol = m_eol;
    m_lines.insert(m_lines.begin() + at, parseLine(text, m_eol));
}

bool IniText::setValue(const QByteArray& section, const QByteArray& key, const QByteArray& value) {
    const int header = findSection(section);
    if (header < 0) {
        const int end = static_cast<int>(m_lines.size());
        insertLine(end, '[' + trimmed(section) + ']');
        insertLine(end + 1, trimmed(key) + '=' + value);
        return true;
    }
    const int at = findKey(header, key);
    if (at >= 0) {
        Line& line = m_lines[at];
        if (line.hasValue && line.value == value) return false;
        line = parseLine(line.name + '=' + value, line.eol);
        return true;
    }
    // A new key goes after the section's last non-blank line, so blank lines
    // that set the next section apart stay where they are.
    int insertAt = header + 1;
    for (int i = header + 1, end = sectionEnd(header); i < end; ++i) {
        if (m_lines[i].kind != Kind::Blank) insertAt = i + 1;
    }
    insertLine(insertAt, trimmed(key) + '=' + value);
    return true;
}

bool IniText::removeKey(const QByteArray& section, const QByteArray& key) {
    const int header = findSection(section);
    if (header < 0) return false;
    const int at = findKey(header, key);
    if (at < 0) return false;
    m_lines.erase(m_lines.begin() + at);
    return true;
}

bool IniText::removeSection(const QByteArray& section) {
    const int header = findSection(section);
    if (header < 0) return false;
    m_lines.erase(m_lines.begin() + header, m_lines.begin() + sectionEnd(header));
    return true;
}
