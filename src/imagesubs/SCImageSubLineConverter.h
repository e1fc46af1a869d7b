#pragma once

#include <QString>
#include <QUrl>
#include <QVariant>
#include <memory>
#include <optional>

#include "platform/OperationQueue.h"

class SCImageSubImporter;

// Converts one picture line into text: grabs the line's picture from the
// temporary Matroska file as a PNG with ffmpeg, then reads it with the OCR
// engine while it loads the same PNG as a picture, posts the result
// ("imageSubLineImported") on the main thread and deletes its files. Every
// child runs within the importer's time limits and stops with its import.
// Made for one line and dropped after it.
class SCImageSubLineConverter {
  public:
    explicit SCImageSubLineConverter(std::weak_ptr<SCImageSubImporter> forImporter = {});
    ~SCImageSubLineConverter();

    SCImageSubLineConverter(const SCImageSubLineConverter&) = delete;
    SCImageSubLineConverter& operator=(const SCImageSubLineConverter&) = delete;

    // Synchronous; the line is posted exactly once, "CROP ERROR" with an
    // empty picture when no picture could be grabbed (grabFailure() says why).
    void importLineNumber(qint64 lineNumber, double forStartTime, double andEndTime,
                          const QUrl& inTempFile, bool isLastTime);

    // A PNG of the picture shown at `atTime` of the file: up to six runs
    // until the file exists; none when no run made it, at once when the tool
    // cannot be started, was stopped by its time limit or was cancelled. A
    // grab that was not cancelled and made no file is a failed one:
    // grabFailure() says why.
    std::optional<QUrl> createCroppedPngForFile(const QUrl& file, double atTime);

    // The text the engine reads in the picture, line ends trimmed; the empty
    // text when it read nothing or could not run. A run that could not read
    // the picture (the engine missing, failing, stopped by its time limit,
    // or writing no text) is a failed one: ocrFailure() says why.
    QString ocrTextForPngURL(const QUrl& pngURL);

    // Deletes the line's PNG, OCR picture and text file when they exist.
    void cleanUp();

    std::weak_ptr<SCImageSubImporter> parentImporter() const { return parentImporter_; }
    std::optional<QUrl> tempFileURL() const { return tempFileURL_; }
    double startTime() const { return startTime_; }
    double endTime() const { return endTime_; }
    // A LinePicture holding the grabbed PNG's bytes (it converts to a QImage),
    // a null QImage after a failed grab; invalid when the PNG did not decode.
    QVariant lineImage() const { return lineImage_; }
    std::optional<QString> lineDialog() const { return lineDialog_; }
    std::optional<QUrl> croppedPngURL() const { return croppedPngURL_; }
    std::optional<QUrl> ocrPngURL() const { return ocrPngURL_; }
    std::optional<QUrl> ocrTextFileURL() const { return ocrTextFileURL_; }
    // Why the last grab made no picture: ffmpeg's own message where it gave
    // one; none when it made one, was cancelled or never ran.
    std::optional<QString> grabFailure() const { return grabFailure_; }
    // Whether the last OCR run read the picture and its text was read back
    // (that text may be empty: a picture without words).
    bool ocrRead() const { return ocrRead_; }
    // Why the last OCR run failed: the engine's own message where it gave
    // one; none when it read the picture, was cancelled or never ran.
    std::optional<QString> ocrFailure() const { return ocrFailure_; }
    bool shouldCleanup() const { return shouldCleanup_; }
    void setShouldCleanup(bool value) { shouldCleanup_ = value; }

  private:
    std::weak_ptr<SCImageSubImporter> parentImporter_;
    std::optional<QUrl> tempFileURL_;
    double startTime_ = 0;
    double endTime_ = 0;
    QVariant lineImage_;
    std::optional<QString> lineDialog_;
    std::optional<QUrl> croppedPngURL_;
    std::optional<QString> grabFailure_;
    std::optional<QUrl> ocrPngURL_;
    std::optional<QUrl> ocrTextFileURL_;
    bool ocrRead_ = false;
    std::optional<QString> ocrFailure_;
    bool shouldCleanup_ = true;
    platform::OperationQueue imageSubLineQueue_{QStringLiteral("imageSubLineQueue"), 2};
};
