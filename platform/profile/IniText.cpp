#include "platform/profile/IniText.h"

namespace {

QString leftTrimmed(const QString& text) {
    qsizetype begin = 0;
    while (begin < text.size() && IniText::isBlank(text[begin])) ++begin;
    return text.mid(begin);
}

QString rightTrimmed(const QString& text) {
    qsizetype end = text.size();
    while (end > 0 && IniText::isBlank(text[end - 1])) --end;
    return text.left(end);
}

QString cutAtNul(const QString& text) {
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul < 0 ? text : text.left(nul);
}

char16_t asciiLower(char16_t c) { return c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c; }

}  // namespace

IniText::IniText(const QByteArray& bytes) {
    qsizetype markLength = 0;
    m_encoding = TextCodec::detect(bytes, &markLength);
    m_newline = TextCodec::encode(QStringLiteral("\r\n"), m_encoding);
    const QByteArray body = bytes.mid(markLength);
    const qsizetype unit = TextCodec::unitSize(m_encoding);
    const qsizetype size = body.size();
    // Line breaks are found in code units: a byte, or two in UTF-16.
    const auto byteAt = [&](qsizetype pos) -> char16_t {
        return pos < size ? static_cast<unsigned char>(body[pos]) : 0;
    };
    const auto unitAt = [&](qsizetype pos) -> char16_t {
        if (unit == 1) return byteAt(pos);
        return m_encoding == TextEncoding::Utf16LE ? byteAt(pos) | byteAt(pos + 1) << 8
                                                   : byteAt(pos) << 8 | byteAt(pos + 1);
    };
    bool newlineSeen = false;
    qsizetype pos = 0;
    while (pos < size) {
        qsizetype end = pos;
        while (end < size && unitAt(end) != u'\r' && unitAt(end) != u'\n') end += unit;
        end = std::min(end, size);
        qsizetype next = end;
        if (next < size && unitAt(next) == u'\r') next += unit;
        if (next < size && unitAt(next) == u'\n') next += unit;
        Line line;
        line.bytes = body.mid(pos, end - pos);
        line.eol = body.mid(end, next - end);
        line.text = TextCodec::decode(line.bytes, m_encoding, size - end);
        if (!newlineSeen && !line.eol.isEmpty()) {
            m_newline = line.eol;
            newlineSeen = true;
        }
        m_lines.push_back(line);
        pos = next;
    }
    classify();
}

QByteArray IniText::toBytes() const {
    QByteArray out = TextCodec::byteOrderMark(m_encoding);
    for (const Line& line : m_lines) out += line.bytes + line.eol;
    return out;
}

bool IniText::isBlank(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 0x09 && u <= 0x0D) || u == 0x1A || u == 0x20;
}

QString IniText::trimmed(const QString& text) { return rightTrimmed(leftTrimmed(text)); }

bool IniText::sameName(const QString& a, const QString& b) {
    if (a.size() != b.size()) return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (asciiLower(a[i].unicode()) != asciiLower(b[i].unicode())) return false;
    }
    return true;
}

void IniText::classify() {
    m_sections.assign(1, Range{-1, 0, 0, QString()});
    // A line with nothing before its '=' is dropped after a key whose name is
    // empty, so that only the first of a run of such lines counts.
    bool afterUnnamedKey = false;
    for (int i = 0; i < static_cast<int>(m_lines.size()); ++i) {
        Line& line = m_lines[i];
        line.name.clear();
        line.value.reset();
        const QString body = trimmed(line.text);
        line.kind = Kind::Blank;
        if (body.isEmpty()) continue;
        const qsizetype close = body.lastIndexOf(u']');
        if (body.front() == u'[' && close > 0) {
            line.kind = Kind::Header;
            line.name = cutAtNul(trimmed(body.mid(1, close - 1)));
            m_sections.back().end = i;
            m_sections.push_back(Range{i, i + 1, i + 1, line.name});
            afterUnnamedKey = false;
            continue;
        }
        const qsizetype equals = body.indexOf(u'=');
        const QString name = equals < 0 ? body : rightTrimmed(body.left(equals));
        if (name.isEmpty() && afterUnnamedKey) {
            line.kind = Kind::Ignored;
            continue;
        }
        line.kind = Kind::Key;
        line.name = cutAtNul(name);
        if (equals >= 0) line.value = cutAtNul(leftTrimmed(body.mid(equals + 1)));
        afterUnnamedKey = line.name.isEmpty();
    }
    m_sections.back().end = static_cast<int>(m_lines.size());
}

std::optional<IniText::Range> IniText::findSection(const QString& name) const {
    for (const Range& range : m_sections) {
        if (sameName(range.name, name)) return range;
    }
    return std::nullopt;
}

int IniText::findKey(const Range& range, const QString& key) const {
    for (int i = range.begin; i < range.end; ++i) {
        if (m_lines[i].kind == Kind::Key && sameName(m_lines[i].name, key)) return i;
    }
    return -1;
}

std::vector<IniText::Section> IniText::outline() const {
    std::vector<Section> sections;
    for (const Range& range : m_sections) {
        Section section{range.name, {}};
        for (int i = range.begin; i < range.end; ++i) {
            if (m_lines[i].kind == Kind::Key)
                section.keys.push_back({m_lines[i].name, m_lines[i].value});
        }
        sections.push_back(section);
    }
    return sections;
}

QStringList IniText::sectionNames() const {
    QStringList names;
    for (std::size_t i = 1; i < m_sections.size(); ++i) {
        if (!m_sections[i].name.isEmpty()) names.append(m_sections[i].name);
    }
    return names;
}

QStringList IniText::keyNames(const QString& section) const {
    QStringList names;
    const std::optional<Range> range = findSection(section);
    if (!range) return names;
    for (int i = range->begin; i < range->end; ++i) {
        const Line& line = m_lines[i];
        if (line.kind == Kind::Key && line.value && !line.name.startsWith(u';'))
            names.append(line.name);
    }
    return names;
}

std::optional<QString> IniText::value(const QString& section, const QString& key) const {
    const std::optional<Range> range = findSection(trimmed(section));
    if (!range) return std::nullopt;
    const int at = findKey(*range, trimmed(key));
    return at < 0 ? std::nullopt : m_lines[at].value;
}

void IniText::insertLine(int at, const QString& text) {
    if (at > 0 && m_lines[at - 1].eol.isEmpty()) {
        Line& last = m_lines[at - 1];
        // An odd byte at the end of UTF-16 text would shift every unit after it.
        if (last.bytes.size() % TextCodec::unitSize(m_encoding) != 0)
            last.bytes = TextCodec::encode(last.text, m_encoding);
        last.eol = m_newline;
    }
    Line line;
    line.bytes = TextCodec::encode(text, m_encoding);
    line.eol = m_newline;
    line.text = text;
    m_lines.insert(m_lines.begin() + at, line);
}

bool IniText::setValue(const QString& section, const QString& key, const QString& value) {
    const QString newValue = leftTrimmed(value);
    const std::optional<Range> range = findSection(trimmed(section));
    if (!range) {
        const int end = static_cast<int>(m_lines.size());
        insertLine(end, u'[' + leftTrimmed(section) + u']');
        insertLine(end + 1, leftTrimmed(key) + u'=' + newValue);
    } else if (const int at = findKey(*range, trimmed(key)); at >= 0) {
        Line& line = m_lines[at];
        if (line.value == newValue) return false;
        line.text = line.name + u'=' + newValue;
        line.bytes = TextCodec::encode(line.text, m_encoding);
    } else {
        // After the section's last line that is not blank, so that blank lines
        // that set the next section apart stay where they are.
        int insertAt = range->begin;
        for (int i = range->begin; i < range->end; ++i) {
            if (m_lines[i].kind != Kind::Blank) insertAt = i + 1;
        }
        insertLine(insertAt, leftTrimmed(key) + u'=' + newValue);
    }
    classify();
    return true;
}

bool IniText::removeKey(const QString& section, const QString& key) {
    for (const Range& range : m_sections) {
        if (!sameName(range.name, section)) continue;
        const int at = findKey(range, key);
        if (at < 0) continue;
        // Lines that were dropped only because of this key would count once
        // it is gone, so they go with it.
        int end = at + 1;
        while (end < range.end && m_lines[end].kind != Kind::Key) ++end;
        for (int i = end - 1; i > at; --i) {
            if (m_lines[i].kind == Kind::Ignored) m_lines.erase(m_lines.begin() + i);
        }
        m_lines.erase(m_lines.begin() + at);
        classify();
        return true;
    }
    return false;
}

bool IniText::removeSection(const QString& section) {
    const std::optional<Range> range = findSection(section);
    if (!range) return false;
    const int begin = range->header < 0 ? range->begin : range->header;
    if (begin == range->end) return false;
    m_lines.erase(m_lines.begin() + begin, m_lines.begin() + range->end);
    classify();
    return true;
}
