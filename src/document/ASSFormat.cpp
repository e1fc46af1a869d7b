#include "document/ASSFormat.h"

#include "common/TimeTexts.h"
#include "document/TextLines.h"
#include "formatting/SCStyle.h"

namespace {

enum class Header { scriptInfo, styles, events };

std::optional<Header> headerOf(const QString& line) {
    if (line.contains(QLatin1String("Script Info]"))) return Header::scriptInfo;
    if (line.contains(QLatin1String("Events]"))) return Header::events;
    if (line.contains(QLatin1String("Styles]"))) return Header::styles;
    return std::nullopt;
}

}  // namespace

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
    Sections sections;
    sections.scriptInfo = lines.mid(hits[0].second, hits[1].second - hits[0].second);
    sections.styles = lines.mid(hits[1].second, hits[2].second - hits[1].second);
    sections.events = lines.mid(hits[2].second);
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
    const QStringList dialogue = event.split(QStringLiteral("Dialogue: "));
    if (format.size() != 2 || dialogue.size() != 2) return std::nullopt;

    const QStringList names = format[1].split(u',');
    QStringList values = dialogue[1].split(u',');
    if (values.size() > names.size()) {
        const qsizetype last = names.size() - 1;
        const QString rest = values.mid(last).join(u',');
        values = values.mid(0, last);
        values.append(rest);
    }
    QHash<QString, QString> fields;
    const qsizetype paired = std::min(names.size(), values.size());
    for (qsizetype i = 0; i < paired; ++i) fields.insert(names[i].trimmed(), values[i].trimmed());
    return fields;
}

std::optional<AssScript> ASSFormat::read(const QStringList& lines, QString& styleHeader) {
    const auto sections = findSections(lines, styleHeader);
    if (!sections) return std::nullopt;
    AssScript script;
    script.scriptInfo = scriptInfoOf(sections->scriptInfo);
    script.styleHeader = sections->styles.value(0);
    script.styleFormat = sections->styles.value(1);
    script.styleLines = sections->styles.mid(2);
    script.eventFormat = sections->events.value(1);
    script.eventLines = sections->events.mid(2);
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

QString ASSFormat::eventFormatLine() {
    return QStringLiteral("Format: ") + eventFieldNames().join(QStringLiteral(", "));
}

QString ASSFormat::dialogueLine(const AssEvent& event) {
    // Pieces are appended one by one: a large export builds this for every line.
    QString text;
    text.reserve(64 + event.style.size() + event.name.size() + event.effect.size() +
                 event.text.size());
    text += QLatin1String("Dialogue: ");
    text += QString::number(event.layer);
    for (const QString& field :
         {assTimeStringFromDoubleTime(event.start), assTimeStringFromDoubleTime(event.end),
          escapeLineBreaks(event.style), escapeLineBreaks(event.name),
          QString::number(event.marginL), QString::number(event.marginR),
          QString::number(event.marginV), escapeLineBreaks(event.effect),
          escapeLineBreaks(event.text)}) {
        text += u',';
        text += field;
    }
    return text;
}

QString ASSFormat::documentText(const AssDocument& document) {
    QString text = QStringLiteral("[Script Info]\n");
    const auto& info = document.scriptInfo;
    for (auto it = info.cbegin(); it != info.cend(); ++it)
        text +=
            escapeLineBreaks(it.key()) + QLatin1String(": ") + escapeLineBreaks(it.value()) + u'\n';

    text += QStringLiteral("\n[V4+ Styles]\n");
    text += SCStyle::assStyleFormatString() + u'\n';
    for (const QString& style : document.styleLines) text += escapeLineBreaks(style) + u'\n';

    text += QStringLiteral("\n[Events]\n");
    text += eventFormatLine() + u'\n';
    text.reserve(text.size() + qsizetype(document.events.size()) * 96);
    for (const AssEvent& event : document.events) {
        text += dialogueLine(event);
        text += u'\n';
    }
    for (const QString& section : document.keptSections) {
        text += u'\n';
        text += section;
        text += u'\n';
    }
    return text;
}
