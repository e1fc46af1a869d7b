#include "tools/TesseractCommand.h"

#include "tools/ToolRunResult.h"

namespace {

bool isLineEnd(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 0x000A && u <= 0x000D) || u == 0x0085 || u == 0x2028 || u == 0x2029;
}

}  // namespace

QStringList tesseractArguments(const QString& picturePath, const QString& language) {
    return {picturePath, picturePath, QStringLiteral("-l"), language, QStringLiteral("exclusions")};
}

QString tesseractTextFilePath(const QString& picturePath) {
    return picturePath + QStringLiteral(".txt");
}

QString tesseractText(const QByteArray& fileContent) {
    const QString text = decodeToolText(fileContent).value_or(QString());
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isLineEnd(text[begin])) ++begin;
    while (end > begin && isLineEnd(text[end - 1])) --end;
    return text.sliced(begin, end - begin);
}
