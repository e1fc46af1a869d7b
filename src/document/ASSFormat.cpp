#include "document/ASSFormat.h"

#include <algorithm>

#include "common/TimeTexts.h"
#include "document/TextLines.h"
#include "formatting/SCStyle.h"

namespace {

enum class Header { scriptInfo, styles, events };

// A header stands at the start of its line (after blanks or a byte-order
// mark): a style, event or script-information value that quotes one, such as
// a font named "[Events]", is no header.
std::optional<Header> headerOf(const QString& line) {
    qsizetype first = 0;
    while (first < line.size() && (line[first].isSpace() || line[first] == QChar(0xFEFF))) ++first;
    if (first == line.size() || line[first] != u'[') return std::nullopt;
    // Players read the headers in any case ("[v4+ styles]").
    if (line.contains(QLatin1String("Script Info]"), Qt::CaseInsensitive))
        return Header::scriptInfo;
    if (line.contains(QLatin1String("Events]"), Qt::CaseInsensitive)) return Header::events;
    if (line.contains(QLatin1String("Styles]"), Qt::CaseInsensitive)) return Header::styles;
    return std::nullopt;
}

// An event's Style, Name and Effect cannot hold a comma: the writer's Format
// line ends with Text, so only Text keeps the rest of the line.
QString withoutCommas(const QString& value, bool& replaced) {
    if (!value.contains(u',')) return value;
    replaced = true;
    QString safe = value;
    safe.replace(u',', u';');
    return safe;
}

// A script-information value is the rest of its line; a line break in it
// would start a line of its own.
QString onOneLine(const QString& value) {
    using textlines::isLineBreak;
    if (std::none_of(value.cbegin(), value.cend(), [](QChar c) { return isLineBreak(c); }))
        return value;
    QString line;
    line.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (!isLineBreak(value[i])) {
            line.append(value[i]);
            continue;
        }
        line.append(u' ');
        if (value[i] == u'\r' && i + 1 < value.size() && value[i + 1] == u'\n') ++i;  // one break
    }
    return line;
}

// The guard "{}" is written at an end only where the reader needs it there:
// before white space, which the reading trims, or before a literal "{}" that
// the reader would otherwise take for a guard.
bool needsFrontGuard(QStringView text) {
    if (text.isEmpty()) return false;
    if (text.front().isSpace()) return true;
    return text.size() > 2 && text.startsWith(u"{}") &&
           (text[2].isSpace() || text.mid(2).startsWith(u"{}"));
}

bool needsBackGuard(QStringView text) {
    if (text.isEmpty()) return false;
    if (text.back().isSpace()) return true;
    const qsizetype n = text.size();
    return n > 2 && text.endsWith(u"{}") &&
           (text[n - 3].isSpace() || text.left(n - 2).endsWith(u"{}"));
}

}  // namespace

bool ASSFormat::isSectionHeader(const QString& line) {
    const QString trimmed = line.trimmed();
    return trimmed.size() >= 2 && trimmed.startsWith(u'[') && trimmed.endsWith(u']');
}

std::optional<ASSFormat::Sections> ASSFormat::findSections(const QStringList& lines,
                                                           QString& styleHeader) {
    std::vector<std::pair<Header, qsizetype>> hits;
    for (qsizetype i = 0; i < lines.size() && hits.size() < 3; ++i) {
        const auto header = headerOf(lines[i]);
        if (!header) continue;
        if (*header == Header::styles) styleHeader = lines[i];
        hits.emplace_back(*header, i);
    }
    if (hits.size() != 3 || hits[0].first != Header::scriptInfo ||
        hits[1].first != Header::styles || hits[2].first != Header::events)
        return std::nullopt;

    // Each known block runs from its header to the next section header of
    // any kind; every other section, wherever it stands after the script
    // information, is kept whole (embedded fonts are thousands of lines that
    // are neither styles nor events).
    Sections sections;
    QStringList* blocks[] = {&sections.scriptInfo, &sections.styles, &sections.events};
    std::size_t next = 0;
    QStringList* current = nullptr;
    for (qsizetype i = hits[0].second; i < lines.size(); ++i) {
        if (isSectionHeader(lines[i]) || (next < hits.size() && i == hits[next].second)) {
            if (next < hits.size() && i == hits[next].second) {
                current = blocks[next++];
            } else {
                sections.kept.append(QStringList());
                current = &sections.kept.last();
            }
        }
        current->append(lines[i]);
    }
    return sections;
}

QMap<QString, QString> ASSFormat::scriptInfoOf(const QStringList& block) {
    QMap<QString, QString> info;
    const QString separator = QStringLiteral(": ");
    for (const QString& line : block) {
        if (!line.contains(separator) || line.startsWith(u';')) continue;
        const QStringList pieces = line.split(separator);
        if (pieces.size() == 2) info.insert(pieces[0], pieces[1]);
    }
    if (!info.contains(QStringLiteral("ScriptType")))
        info.insert(QStringLiteral("ScriptType"), QStringLiteral("v4.00+"));
    return info;
}

std::optional<QHash<QString, QString>> ASSFormat::eventFields(const QString& formatLine,
                                                              const QString& dialogueLine) {
    QString event = dialogueLine;
    event.replace(QLatin1String("\\N"), QLatin1String("\n"));
    const QStringList format = formatLine.split(QStringLiteral("Format: "));
    if (format.size() != 2) return std::nullopt;
    // Only the first event prefix of the line counts: a text may quote
    // "Dialogue: " itself, and a comment stays a comment whatever it holds.
    const QLatin1String prefix("Dialogue: ");
    const qsizetype at = event.indexOf(prefix);
    if (at < 0 || QStringView(event).left(at).contains(QLatin1String("Comment: ")))
        return std::nullopt;

    const QStringList names = format[1].split(u',');
    QStringList values = QStringView(event).mid(at + prefix.size()).toString().split(u',');
    if (values.size() > names.size()) {
        const qsizetype last = names.size() - 1;
        const QString rest = values.mid(last).join(u',');
        values = values.mid(0, last);
        values.append(rest);
    }
    QHash<QString, QString> fields;
    const qsizetype paired = std::min(names.size(), values.size());
    for (qsizetype i = 0; i < paired; ++i) fields.insert(names[i].trimmed(), values[i].trimmed());
    if (auto text = fields.find(QStringLiteral("Text")); text != fields.end())
        *text = withoutBlankGuards(*text);
    return fields;
}

std::optional<AssScript> ASSFormat::read(const QStringList& lines, QString& styleHeader) {
    const auto sections = findSections(lines, styleHeader);
    if (!sections) return std::nullopt;
    AssScript script;
    // Not the header line: "[Script Info]: x" would come back as an entry
    // whose line holds the header text, and the saved file would not read.
    script.scriptInfo = scriptInfoOf(sections->scriptInfo.mid(1));
    script.styleHeader = sections->styles.value(0);
    script.styleFormat = sections->styles.value(1);
    script.styleLines = sections->styles.mid(2);
    script.eventFormat = sections->events.value(1);
    script.eventLines = sections->events.mid(2);
    // Only "Style:" lines are styles: a blank line or a stray text in the
    // block gives none.
    script.styleLines.removeIf([](const QString& line) {
        qsizetype first = 0;
        while (first < line.size() && line[first].isSpace()) ++first;
        return !QStringView(line).mid(first).startsWith(QLatin1String("Style:"));
    });
    for (const QStringList& section : sections->kept)
        script.keptSections.append(section.join(u'\n'));
    return script;
}

QString ASSFormat::escapeLineBreaks(const QString& value) {
    using textlines::isLineBreak;
    qsizetype first = 0;
    while (first < value.size() && !isLineBreak(value[first])) ++first;
    if (first == value.size()) return value;  // the usual case: nothing to do
    QString escaped = value.left(first);
    for (qsizetype i = first; i < value.size(); ++i) {
        const char16_t u = value[i].unicode();
        if (!isLineBreak(u)) {
            escaped.append(value[i]);
            continue;
        }
        escaped.append(QLatin1String("\\N"));
        if (u == u'\r' && i + 1 < value.size() && value[i + 1] == u'\n') ++i;  // CR LF is one
    }
    return escaped;
}

const QStringList& ASSFormat::eventFieldNames() {
    static const QStringList names{"Layer",   "Start",   "End",     "Style",  "Name",
                                   "MarginL", "MarginR", "MarginV", "Effect", "Text"};
    return names;
}

// Reading trims every field, so a text that begins or ends with white space
// (a cue of blanks, a last line of blanks) is written between two empty
// override blocks, which show nothing and which the reader takes off again.
// A text that itself begins or ends with such a block next to white space or
// another block gets one more, so that it reads back as itself.
QString ASSFormat::withBlankGuards(const QString& text) {
    const bool front = needsFrontGuard(text), back = needsBackGuard(text);
    if (!front && !back) return text;
    QString guarded = text;
    if (front) guarded.prepend(QLatin1String("{}"));
    if (back) guarded.append(QLatin1String("{}"));
    return guarded;
}

QString ASSFormat::withoutBlankGuards(const QString& text) {
    QString plain = text;
    if (plain.size() > 2 && plain.startsWith(QLatin1String("{}")) &&
        needsFrontGuard(QStringView(plain).mid(2)))
        plain.remove(0, 2);
    if (plain.size() > 2 && plain.endsWith(QLatin1String("{}")) &&
        needsBackGuard(QStringView(plain).chopped(2)))
        plain.chop(2);
    return plain;
}

QString ASSFormat::eventFormatLine() {
    return QStringLiteral("Format: ") + eventFieldNames().join(QStringLiteral(", "));
}

QString ASSFormat::dialogueLine(const AssEvent& event) {
    QString text;
    appendDialogue(text, event);
    text.chop(1);
    return text;
}

bool ASSFormat::appendDialogue(QString& text, const AssEvent& event) {
    // Pieces are appended one by one into the document: a large export
    // writes this for every line.
    bool commasReplaced = false;
    text += QLatin1String("Dialogue: ");
    text += QString::number(event.layer);
    for (const QString& field :
         {assTimeStringFromDoubleTime(event.start), assTimeStringFromDoubleTime(event.end),
          escapeLineBreaks(withoutCommas(event.style, commasReplaced)),
          escapeLineBreaks(withoutCommas(event.name, commasReplaced)),
          QString::number(event.marginL), QString::number(event.marginR),
          QString::number(event.marginV),
          escapeLineBreaks(withoutCommas(event.effect, commasReplaced)),
          escapeLineBreaks(withBlankGuards(event.text))}) {
        text += u',';
        text += field;
    }
    text += u'\n';
    return commasReplaced;
}

QString ASSFormat::headerText(const QMap<QString, QString>& scriptInfo,
                              const QStringList& styleLines) {
    QString text = QStringLiteral("[Script Info]\n");
    for (auto it = scriptInfo.cbegin(); it != scriptInfo.cend(); ++it)
        text += onOneLine(it.key()) + QLatin1String(": ") + onOneLine(it.value()) + u'\n';

    text += QStringLiteral("\n[V4+ Styles]\n");
    text += SCStyle::assStyleFormatString() + u'\n';
    for (const QString& style : styleLines) text += escapeLineBreaks(style) + u'\n';

    text += QStringLiteral("\n[Events]\n");
    text += eventFormatLine() + u'\n';
    return text;
}

void ASSFormat::appendKeptSections(QString& text, const QStringList& sections) {
    for (const QString& section : sections) {
        text += u'\n';
        text += section;
        text += u'\n';
    }
}

QString ASSFormat::documentText(const AssDocument& document) {
    QString text = headerText(document.scriptInfo, document.styleLines);
    text.reserve(text.size() + qsizetype(document.events.size()) * 96);
    for (const AssEvent& event : document.events) appendDialogue(text, event);
    appendKeptSections(text, document.keptSections);
    return text;
}
