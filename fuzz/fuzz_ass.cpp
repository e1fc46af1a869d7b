// ASS and SSA sections, script information, style lines and event lines. What
// is read is written again and read back: every written style and event must
// give back each of its fields as written.
#include "FuzzSupport.h"
#include "common/TimeTexts.h"
#include "document/ASSFormat.h"
#include "document/SRTFormat.h"
#include "formatting/SCStyle.h"
#include "formatting/StyleLineReader.h"

namespace {

// A style's values as the writer gives them, one per field.
QStringList fieldsOf(const QString& styleLine) {
    return styleLine.mid(QStringLiteral("Style: ").size()).split(u',');
}

std::optional<QVariantMap> readStyle(const QString& format, const QString& line,
                                     const QString& header) {
    return StyleLineReader::read(format, line, header,
                                 [](const QString&) { return QVariant(QString()); });
}

// The style line a style with these values writes.
QString writtenStyle(const QVariantMap& values) {
    SCStyle style;
    style.setValuesForKeysWithDictionary(values);
    style.initializeColorProperties();
    return style.assStyleString();
}

qint64 integerOf(const QString& text) {
    return text.toLongLong();
}

void checkEvent(const AssEvent& written, const QHash<QString, QString>& read) {
    const auto same = [&](const char* name, const QString& value) {
        if (read.value(QLatin1String(name)) != value) fuzzsupport::fail(name);
    };
    const auto withoutCommas = [](QString value) { return value.replace(u',', u';'); };
    same("Layer", QString::number(written.layer));
    same("Start", assTimeStringFromDoubleTime(written.start));
    same("End", assTimeStringFromDoubleTime(written.end));
    same("Style", withoutCommas(written.style));
    same("Name", withoutCommas(written.name));
    same("MarginL", QString::number(written.marginL));
    same("MarginR", QString::number(written.marginR));
    same("MarginV", QString::number(written.marginV));
    same("Effect", withoutCommas(written.effect));
    same("Text", written.text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QStringList lines = SRTFormat::linesOfFileText(fuzzsupport::textOf(data, size));
    QString header;
    const auto script = ASSFormat::read(lines, header);
    if (!script) return 0;
    AssDocument document{script->scriptInfo, {}, {}, script->keptSections};
    for (const QString& style : script->styleLines) {
        if (const auto values = readStyle(script->styleFormat, style, header))
            document.styleLines.append(writtenStyle(*values));
    }
    std::vector<AssEvent> events;
    for (const QString& event : script->eventLines) {
        const auto fields = ASSFormat::eventFields(script->eventFormat, event);
        if (!fields) continue;
        AssEvent record;
        record.layer = integerOf(fields->value(QStringLiteral("Layer")));
        record.start = doubleTimeFromStringTime(fields->value(QStringLiteral("Start"))).value_or(0);
        record.end = doubleTimeFromStringTime(fields->value(QStringLiteral("End"))).value_or(0);
        record.style = fields->value(QStringLiteral("Style"));
        record.name = fields->value(QStringLiteral("Name"));
        record.marginL = integerOf(fields->value(QStringLiteral("MarginL")));
        record.marginR = integerOf(fields->value(QStringLiteral("MarginR")));
        record.marginV = integerOf(fields->value(QStringLiteral("MarginV")));
        record.effect = fields->value(QStringLiteral("Effect"));
        record.text = fields->value(QStringLiteral("Text"));
        document.events.push_back(record);
    }
    const QString written = ASSFormat::documentText(document);
    QString again;
    const auto reread = ASSFormat::read(SRTFormat::linesOfFileText(written), again);
    if (!reread) fuzzsupport::fail("a written script does not read");
    if (reread->keptSections != script->keptSections) fuzzsupport::fail("kept sections changed");
    if (reread->scriptInfo != script->scriptInfo) fuzzsupport::fail("script information changed");

    if (reread->styleLines.size() != document.styleLines.size())
        fuzzsupport::fail("a written style is not read");
    for (qsizetype i = 0; i < reread->styleLines.size(); ++i) {
        const QString& line = document.styleLines[i];
        const QStringList fields = fieldsOf(line);
        if (fields.size() != SCStyle::assOrderedStyleKeys().size())
            fuzzsupport::fail("a style line has a field too many or too few");
        const auto values = readStyle(reread->styleFormat, reread->styleLines[i], again);
        if (!values) fuzzsupport::fail("a written style line does not read");
        for (qsizetype k = 0; k < fields.size(); ++k)
            if (values->value(SCStyle::assOrderedStyleKeys()[k]).toString() != fields[k])
                fuzzsupport::fail("a style field reads back otherwise");
        if (writtenStyle(*values) != line) fuzzsupport::fail("a style is written otherwise");
    }

    if (reread->eventLines.size() != qsizetype(document.events.size()))
        fuzzsupport::fail("a written event is not read");
    for (qsizetype i = 0; i < reread->eventLines.size(); ++i) {
        const auto fields = ASSFormat::eventFields(reread->eventFormat, reread->eventLines[i]);
        if (!fields) fuzzsupport::fail("a written event line does not read");
        checkEvent(document.events[std::size_t(i)], *fields);
    }
    return 0;
}
