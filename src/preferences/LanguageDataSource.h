#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QUrl>

// Where the offered language-data files are listed and fetched from. By
// default the upstream repository of fast language data over HTTPS; tests
// point it at a server that speaks the plain "<br>" index form.
struct LanguageDataSource {
    enum class Form { RepositoryContents, BreakSeparated };

    Form form = Form::RepositoryContents;
    QUrl indexURL;
    QString fileAddress;  // a file's URL is this text followed by its name
    QList<QPair<QByteArray, QByteArray>> indexHeaders;

    static LanguageDataSource upstream();

    // The index at <endpoint>/tesseract/filesIndex.php, the files under
    // <endpoint>/tesseract/.
    static LanguageDataSource breakSeparatedAt(const QUrl& endpoint);

    // The file's URL, its name percent-encoded as one path segment.
    QUrl fileURL(const QString& name) const;
};
