#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <optional>

// The record of one outstanding language-file download.
class SCDownload {
  public:
    explicit SCDownload(QString url);
    SCDownload() = delete;

    QString urlString;                     // the source URL, fully encoded; the record's key
    QUrl destinationDirectoryURL;          // the folder that receives the file
    bool isDownloading = false;            // true once the transfer was handed to the session
    float progress = 0.0f;                 // kept for callers; never updated
    std::optional<quint64> downloadTask;   // the session's number for the transfer
    std::optional<QByteArray> resumeData;  // kept for callers; never filled
};
