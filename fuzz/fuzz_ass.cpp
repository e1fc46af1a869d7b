// ASS and SSA sections, script information, style lines and event lines.
#include "FuzzSupport.h"
#include "document/ASSFormat.h"
#include "document/SRTFormat.h"
#include "formatting/SCStyle.h"
#include "formatting/StyleLineReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QStringList lines = SRTFormat::linesOfFileText(fuzzsupport::textOf(data, size));
    QString header;
    const auto script = ASSFormat::read(lines, header);
    if (!script) return 0;
    for (const QString& style : script->styleLines)
        (void)StyleLineReader::read(script->styleFormat, style, header,
                                    [](const QString&) { return QVariant(QString()); });
    AssDocument document{script->scriptInfo, {}, {}, script->keptSections};
    for (const QString& event : script->eventLines) {
        const auto fields = ASSFormat::eventFields(script->eventFormat, event);
        if (!fields) continue;
        AssEvent record;
        record.text = fields->value(QStringLiteral("Text"));
        record.style = fields->value(QStringLiteral("Style"));
        record.effect = fields->value(QStringLiteral("Effect"));
        document.events.push_back(record);
    }
    const QString written = ASSFormat::documentText(document);
    QString again;
    const auto reread = ASSFormat::read(SRTFormat::linesOfFileText(written), again);
    if (!reread) fuzzsupport::fail("a written script does not read");
    if (reread->keptSections != script->keptSections) fuzzsupport::fail("kept sections changed");
    return 0;
}
