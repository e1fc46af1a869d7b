#include "preferences/LanguageDataSource.h"

LanguageDataSource LanguageDataSource::upstream() {
    LanguageDataSource source;
    source.form = Form::RepositoryContents;
    source.indexURL =
        QUrl(QStringLiteral("https://api.github.com/repos/tesseract-ocr/tessdata_fast/contents/"));
    // HEAD follows the repository's default branch, whatever its name.
    source.fileAddress =
        QStringLiteral("https://raw.githubusercontent.com/tesseract-ocr/tessdata_fast/HEAD/");
    source.indexHeaders = {{"Accept", "application/vnd.github+json"}, {"User-Agent", "Quillmar"}};
    return source;
}

LanguageDataSource LanguageDataSource::breakSeparatedAt(const QUrl& endpoint) {
    QString base = endpoint.toString(QUrl::FullyEncoded);
    while (base.endsWith(u'/')) base.chop(1);
    LanguageDataSource source;
    source.form = Form::BreakSeparated;
    source.indexURL = QUrl(base + QStringLiteral("/tesseract/filesIndex.php"));
    source.fileAddress = base + QStringLiteral("/tesseract/");
    return source;
}

QUrl LanguageDataSource::fileURL(const QString& name) const {
    return QUrl(fileAddress + QString::fromLatin1(QUrl::toPercentEncoding(name)), QUrl::StrictMode);
}
