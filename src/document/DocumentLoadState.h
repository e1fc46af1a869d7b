#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <atomic>
#include <mutex>

#include "document/DocumentFailure.h"

// The part of a document that a load or re-read writes on its own thread
// while the main thread (the views) reads it: one mutex guards the texts,
// which are handed out as copies, and the validity flag and the line count
// are atomic, so any thread may read any of them at any time.
class DocumentLoadState {
  public:
    QUrl fileURL() const;
    void setFileURL(const QUrl& url);
    QString importEncoding() const;
    void setImportEncoding(const QString& name);
    QString styleHeader() const;
    void setStyleHeader(const QString& header);
    QMap<QString, QString> scriptInfo() const;
    void setScriptInfo(const QMap<QString, QString>& info);
    QStringList keptSections() const;
    void setKeptSections(const QStringList& sections);
    DocumentFailure lastFailure() const;
    void setLastFailure(const DocumentFailure& failure);

    bool isValid() const { return valid_.load(std::memory_order_acquire); }
    void setValid(bool value) { valid_.store(value, std::memory_order_release); }
    qint64 lineCount() const { return lineCount_.load(std::memory_order_acquire); }
    void setLineCount(qint64 count) { lineCount_.store(count, std::memory_order_release); }

  private:
    mutable std::mutex mutex_;
    QUrl fileURL_;
    QString importEncoding_ = QStringLiteral("UTF8");
    QString styleHeader_ = QStringLiteral("[V4+ Styles]");
    QMap<QString, QString> scriptInfo_;
    QStringList keptSections_;
    DocumentFailure lastFailure_;
    std::atomic<bool> valid_{false};
    std::atomic<qint64> lineCount_{0};
};
