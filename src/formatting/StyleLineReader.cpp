#include "formatting/StyleLineReader.h"

#include <QHash>
#include <QStringList>

#include "formatting/SCStyle.h"
#include "formatting/StyleValueText.h"

namespace {

// The text after the prefix ("Style: "), when it occurs exactly once. Files
// written without a blank after the colon read the same, as values are
// trimmed anyway; that shorter form is looked for only when the full one is
// missing, so a value such as a style named "Style:Top" still reads.
std::optional<QString> afterPrefix(const QString& line, const QString& prefix) {
    QStringList pieces = line.split(prefix);
    if (pieces.size() == 1) pieces = line.split(prefix.trimmed());
    if (pieces.size() != 2) return std::nullopt;
    return pieces[1];
}

QStringList trimmedPieces(const QString& list) {
    QStringList pieces = list.split(QLatin1Char(','));
    for (QString& piece : pieces) piece = piece.trimmed();
    return pieces;
}

}  // namespace

QString StyleLineReader::assAlignmentFromSSA(const QString& value) {
    const auto n = StyleValueText::plainInteger(value);
    if (!n) return value;
    qint64 mapped = *n;
    if (*n >= 4 && *n <= 8)
        mapped = *n + 2;
    else if (*n >= 9)
        mapped = *n - 5;
    return QString::number(mapped);
}

std::optional<QVariantMap> StyleLineReader::read(const QString& formatString,
                                                 const QString& styleString,
                                                 const QString& styleHeader,
                                                 const CurrentValue& current) {
    const auto keyList = afterPrefix(formatString, QStringLiteral("Format: "));
    if (!keyList) return std::nullopt;
    const auto valueList = afterPrefix(styleString, QStringLiteral("Style: "));
    if (!valueList) return std::nullopt;

    const QStringList keys = trimmedPieces(*keyList);
    const QStringList values = trimmedPieces(*valueList);
    QHash<QString, QString> given;
    for (qsizetype i = 0; i < keys.size() && i < values.size(); ++i)
        given.insert(keys[i], values[i]);

    // SSA numbering for the "[V4 Styles]" section of SSA files; the ASS
    // headers "[V4+ Styles]" and "[V4++ Styles]" (current editors) keep theirs,
    // in any case, as the players that read them do.
    const bool ssaNumbering = !styleHeader.startsWith(QLatin1String("[V4+"), Qt::CaseInsensitive);
    QVariantMap result;
    for (const QString& key : SCStyle::assOrderedStyleKeys()) {
        const auto it = given.constFind(key);
        if (it != given.constEnd()) {
            const bool mapAlignment = ssaNumbering && key == QLatin1String("Alignment");
            result.insert(key, mapAlignment ? assAlignmentFromSSA(*it) : *it);
        } else if (key == QLatin1String("OutlineColour") &&
                   given.contains(QStringLiteral("TertiaryColour"))) {
            result.insert(key, given.value(QStringLiteral("TertiaryColour")));
        } else {
            result.insert(key, current(key));
        }
    }
    return result;
}
