#include "preferences/LanguageIndex.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

std::optional<QStringList> LanguageIndex::fromBreakSeparated(const QString& body) {
    const QString separator = QStringLiteral("<br>");
    if (!body.contains(separator)) return std::nullopt;
    QStringList names;
    for (const QString& entry : body.trimmed().split(separator)) {
        if (!entry.isEmpty() && entry != QStringLiteral("filesIndex.php")) names.append(entry);
    }
    return names;
}

std::optional<QStringList> LanguageIndex::fromRepositoryContents(const QString& body) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(body.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !document.isArray()) return std::nullopt;
    QStringList names;
    for (const QJsonValue& value : document.array()) {
        const QJsonObject entry = value.toObject();
        const QString name = entry.value(QStringLiteral("name")).toString();
        // Only language data: the listing also holds the licence, a read-me
        // and script folders.
        if (entry.value(QStringLiteral("type")).toString() == QStringLiteral("file") &&
            name.endsWith(QStringLiteral(".traineddata")))
            names.append(name);
    }
    return names;
}
