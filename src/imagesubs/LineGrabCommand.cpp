#include "imagesubs/LineGrabCommand.h"

GrabSize grabSizeFor(qint64 width, qint64 height) {
    if (width > 1280) return {1280, 720};
    return {width, height};
}

QString grabTimeText(double seconds) {
    QString text = QString::number(seconds, 'f', 6);
    while (text.endsWith(u'0')) text.chop(1);
    if (text.endsWith(u'.')) text.chop(1);
    if (text == u"-0") text = QStringLiteral("0");
    return text;
}

QStringList lineGrabArguments(double atTime, const QString& filePath, GrabSize size,
                              const QString& outputPath) {
    const QString w = QString::number(size.width);
    const QString h = QString::number(size.height);
    const QString graph = QStringLiteral("color=color=black:size=") + w + u'x' + h +
                          QStringLiteral("[base];[0:0]scale=") + w + u':' + h +
                          QStringLiteral(
                              "[scaled];[base][scaled]overlay=(main_w-overlay_w)/2: "
                              "main_h-overlay_h[over];[over]thumbnail=5[out]");
    return {QStringLiteral("-ss"),
            grabTimeText(atTime),
            QStringLiteral("-noaccurate_seek"),
            QStringLiteral("-i"),
            filePath,
            QStringLiteral("-filter_complex"),
            graph,
            QStringLiteral("-loglevel"),
            QStringLiteral("error"),
            QStringLiteral("-map"),
            QStringLiteral("[out]"),
            QStringLiteral("-pix_fmt"),
            QStringLiteral("rgb24"),
            QStringLiteral("-vcodec"),
            QStringLiteral("png"),
            QStringLiteral("-vframes"),
            QStringLiteral("1"),
            QStringLiteral("-y"),
            outputPath};
}
