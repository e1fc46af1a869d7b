#include "tools/FfprobeReport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

QStringList ffprobeStreamsAndChaptersArguments(const QString& path) {
    return {QStringLiteral("-i"),
            path,
            QStringLiteral("-show_streams"),
            QStringLiteral("-show_chapters"),
            QStringLiteral("-print_format"),
            QStringLiteral("json")};
}

QStringList ffprobeStreamsArguments(const QString& path) {
    return {QStringLiteral("-i"), path, QStringLiteral("-show_streams"),
            QStringLiteral("-print_format"), QStringLiteral("json")};
}

std::optional<QList<FfprobeStream>> parseFfprobeStreams(const QByteArray& json) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) return std::nullopt;
    const QJsonValue streams = document.object().value(QStringLiteral("streams"));
    if (!streams.isArray()) return std::nullopt;
    QList<FfprobeStream> result;
    for (const QJsonValue& value : streams.toArray()) {
        const QJsonObject object = value.toObject();
        FfprobeStream stream;
        stream.index = object.value(QStringLiteral("index")).toInteger(-1);
        stream.codecType = object.value(QStringLiteral("codec_type")).toString();
        stream.codecName = object.value(QStringLiteral("codec_name")).toString();
        stream.width = object.value(QStringLiteral("width")).toInteger(0);
        stream.height = object.value(QStringLiteral("height")).toInteger(0);
        stream.language = object.value(QStringLiteral("tags"))
                              .toObject()
                              .value(QStringLiteral("language"))
                              .toString();
        result.append(stream);
    }
    return result;
}
