#include "preferences/ExclusionsFile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QUrl>

#include "common/HelperFunctions.h"
#include "tools/SCPreferences.h"

const QString& ExclusionsFile::prefix() {
    static const QString text = QStringLiteral("tessedit_char_blacklist ");
    return text;
}

QString ExclusionsFile::location(const SCPreferences& preferences) {
    const QString support = preferences.borvaneSupportFolderURL().value_or(QUrl()).toLocalFile();
    return support + u'/' + preferences.tesseractDataFolderName() +
           QStringLiteral("/tessdata/configs/exclusions");
}

QString ExclusionsFile::read(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) return QString();
    QFile file(path);
    QByteArray bytes;
    bool readable = info.isFile() && file.open(QIODevice::ReadOnly);
    if (readable) {
        bytes = file.readAll();
        readable = file.error() == QFile::NoError;
    }
    // Stateless: a sequence cut short at the end is an error, not a wait for
    // more bytes.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = readable ? utf8.decode(bytes) : QString();
    if (!readable || utf8.hasError()) {
        qpl(QStringLiteral("tempExclusionsString readError"));
        return QString();
    }
    const QStringList pieces = text.split(prefix());
    if (pieces.size() != 2) return QString();
    return pieces.at(1);
}

bool ExclusionsFile::write(const QString& path, const QString& characters) {
    const QByteArray bytes = (prefix() + characters).toUtf8();
    QFile file(path);
    bool written = file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                   file.write(bytes) == bytes.size() && file.flush();
    file.close();
    written = written && file.error() == QFile::NoError;
    if (!written) {
        qpl(QStringLiteral("error writing to exclusion file: ") +
            QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded));
    }
    return written;
}
