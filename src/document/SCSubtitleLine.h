#pragma once

#include <QImage>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>
#include <memory>
#include <optional>

#include "common/ResultTypes.h"
#include "common/SubtitleTypes.h"
#include "document/LinePicture.h"
#include "document/SubtitleRecords.h"
#include "formatting/SSSubtitleDialog.h"

namespace platform {
class AttributedText;
}

// One line of a subtitle document: its numbers, its times (stored once, as
// seconds; every time text is computed from them), its dialog text, the
// fields of an ASS event, its editor state and a snapshot of what it was
// read with. Lines are held by std::shared_ptr: a row-height measurement
// queued on the main thread holds the line weakly and skips a line that is
// gone.
class SCSubtitleLine : public QObject, public std::enable_shared_from_this<SCSubtitleLine> {
    Q_OBJECT
    Q_PROPERTY(bool isExcluded READ isExcluded WRITE setIsExcluded NOTIFY isExcludedChanged)
    Q_PROPERTY(
        QString timeConflict READ timeConflict WRITE setTimeConflict NOTIFY timeConflictChanged)
    Q_PROPERTY(QString Style READ Style WRITE setStyle NOTIFY StyleChanged)
    Q_PROPERTY(QString Text READ Text WRITE setText NOTIFY TextChanged)
    Q_PROPERTY(QString userStartTimeStringSRT READ userStartTimeStringSRT WRITE
                   setUserStartTimeStringSRT NOTIFY userStartTimeStringSRTChanged)
    Q_PROPERTY(QString userStartTimeStringASS READ userStartTimeStringASS WRITE
                   setUserStartTimeStringASS NOTIFY userStartTimeStringASSChanged)
    Q_PROPERTY(QString userEndTimeStringSRT READ userEndTimeStringSRT WRITE setUserEndTimeStringSRT
                   NOTIFY userEndTimeStringSRTChanged)
    Q_PROPERTY(QString userEndTimeStringASS READ userEndTimeStringASS WRITE setUserEndTimeStringASS
                   NOTIFY userEndTimeStringASSChanged)
    Q_PROPERTY(QString unformattedTextSRT READ unformattedTextSRT WRITE setUnformattedTextSRT NOTIFY
                   unformattedTextSRTChanged)
    Q_PROPERTY(QString unformattedTextASS READ unformattedTextASS WRITE setUnformattedTextASS NOTIFY
                   unformattedTextASSChanged)

  public:
    SCSubtitleLine();
    ~SCSubtitleLine() override;

    static std::shared_ptr<SCSubtitleLine> create() { return std::make_shared<SCSubtitleLine>(); }

  private:
    struct ForRead {
        explicit ForRead() = default;
    };

  public:
    // A line for a reader to fill at once: its dialog is not built (nor
    // spell-checked) until the reader gives it one, and a line the read does
    // not give one is dropped (`isKeptAfterRead`), so the empty dialog a new
    // line starts with is never made only to be replaced.
    static std::shared_ptr<SCSubtitleLine> createForRead() {
        return std::make_shared<SCSubtitleLine>(ForRead{});
    }
    explicit SCSubtitleLine(ForRead);

    // Constant key lists.
    static const QStringList& assOrderedDialogKeys();
    static const QStringList& propertiesForDisplayKeys();
    static const QStringList& propertyList();

    // Plain state (not announced).
    subtitleTypes inputSubType() const { return inputSubType_; }
    void setInputSubType(subtitleTypes type) { inputSubType_ = type; }
    qint64 originalIndex() const { return originalIndex_; }
    void setOriginalIndex(qint64 value) { originalIndex_ = value; }
    qint64 userIndex() const { return userIndex_; }
    void setUserIndex(qint64 value) { userIndex_ = value; }
    double textTableRowHeight() const { return textTableRowHeight_; }
    void setTextTableRowHeight(double value) { textTableRowHeight_ = value; }
    // An imported line keeps its picture encoded; it is decoded here, each
    // time it is asked for.
    QImage dialogImage() const;
    void setDialogImage(const QImage& image);
    const LinePicture& dialogPicture() const { return dialogPicture_; }
    double startOverlap() const { return startOverlap_; }
    void setStartOverlap(double value) { startOverlap_ = value; }
    double endOverlap() const { return endOverlap_; }
    void setEndOverlap(double value) { endOverlap_ = value; }
    double userStartTimeDouble() const { return userStartTimeDouble_; }
    void setUserStartTimeDouble(double value) { userStartTimeDouble_ = value; }
    double userEndTimeDouble() const { return userEndTimeDouble_; }
    void setUserEndTimeDouble(double value) { userEndTimeDouble_ = value; }
    const SSSubtitleDialog& masterText() const { return masterText_; }
    void setMasterText(const SSSubtitleDialog& dialog) { masterText_ = dialog; }
    const QVariantMap& assDialogDictionary() const { return assDialogDictionary_; }
    void setAssDialogDictionary(const QVariantMap& value) { assDialogDictionary_ = value; }
    // The snapshot: "userStartTimeDouble", "userEndTimeDouble" and "Style" as
    // a reader took them, or the map last assigned.
    QVariantMap originalsDictionary() const;
    void setOriginalsDictionary(const QVariantMap& value);

    // ASS event fields.
    qint64 Layer() const { return Layer_; }
    void setLayer(qint64 value) { Layer_ = value; }
    QString Name() const { return Name_; }
    void setName(const QString& value) { Name_ = value; }
    qint64 MarginL() const { return MarginL_; }
    void setMarginL(qint64 value) { MarginL_ = value; }
    qint64 MarginR() const { return MarginR_; }
    void setMarginR(qint64 value) { MarginR_ = value; }
    qint64 MarginV() const { return MarginV_; }
    void setMarginV(qint64 value) { MarginV_ = value; }
    QString Effect() const { return Effect_; }
    void setEffect(const QString& value) { Effect_ = value; }

    // Observable state: every assignment is announced.
    bool isExcluded() const { return isExcluded_; }
    void setIsExcluded(bool value);
    QString timeConflict() const { return timeConflict_; }
    void setTimeConflict(const QString& value);
    QString Style() const { return Style_; }
    void setStyle(const QString& value);
    QString Text() const { return Text_; }
    void setText(const QString& value);

    // Time texts, views of the stored seconds. A setter reads SRT or ASS
    // form; a text it cannot read keeps the stored time and returns false
    // (the assignment is still announced, so a bound field shows the kept
    // time again).
    QString userStartTimeStringSRT() const;
    bool setUserStartTimeStringSRT(const QString& text);
    QString userStartTimeStringASS() const;
    bool setUserStartTimeStringASS(const QString& text);
    QString userEndTimeStringSRT() const;
    bool setUserEndTimeStringSRT(const QString& text);
    QString userEndTimeStringASS() const;
    bool setUserEndTimeStringASS(const QString& text);
    QString Start() const { return userStartTimeStringASS(); }
    bool setStart(const QString& text);
    QString End() const { return userEndTimeStringASS(); }
    bool setEnd(const QString& text);

    // Dialog text with the tags of one syntax; a changed text rebuilds the
    // dialog, re-measures the row and posts `dialogChanged`.
    QString unformattedTextSRT() const;
    void setUnformattedTextSRT(const QString& text);
    QString unformattedTextASS() const;
    void setUnformattedTextASS(const QString& text);

    std::shared_ptr<platform::AttributedText> userTextSRT() const;
    std::shared_ptr<platform::AttributedText> userTextASS() const;
    QString spellCheckResultLabel() const;

    // Writers: the line as a record of each format, and its record's text.
    AssEvent assEvent() const;
    SrtCue srtCue() const;
    static QString assDialogueFormatString();
    QString assDialogueString() const;
    QString srtDialogueString() const;

    // Readers; each ends with the snapshot.
    resultTypes initializeFromSRTBlock(const QStringList& block);
    resultTypes initializeTextOnlyFromSRTBlock(const QStringList& block);
    resultTypes intitializeWithFormatString(const QString& formatString,
                                            const QString& andDialogString);
    resultTypes intitializeTextOnlyWithFormatString(const QString& formatString,
                                                    const QString& andDialogString);

    // Fills a new line from a picture-subtitle result: "startTime" and
    // "endTime" (seconds, passed through the SRT time text), "lineImage"
    // (a LinePicture, kept encoded, or a QImage) and "lineDialog" (text).
    // Always `ok`.
    resultTypes initializeFromImageSubImportedDictiary(const QVariantMap& dictionary);

    // One rule for the load and the re-read: a parsed line is kept when its
    // parse succeeded and it has a dialog text; everything else is dropped.
    bool isKeptAfterRead(resultTypes parseResult) const;

    void resetTimesToOriginal();
    void resetDialogToOriginal();
    void resetStyleToOriginal();
    void removeFormattingFromText();

    // A new line with this line's times, fields, flags, snapshot and picture,
    // and an empty dialog text.
    std::shared_ptr<SCSubtitleLine> copy() const;

    // Measures the display text and stores the height plus 3 points: inline
    // on the main thread or a thread holding TextMeasurer::ThreadMetrics,
    // otherwise later on the main thread.
    void calculateTableRowHeightForAtributedString(
        const std::shared_ptr<platform::AttributedText>& text, double andColWidth);

    void logProperties() const;

    // By-name access to the properties that have a key. Unknown keys give an
    // invalid value and are refused.
    QVariant valueForKey(const QString& key) const;
    bool setValueForKey(const QString& key, const QVariant& value);

  signals:
    void isExcludedChanged();
    void timeConflictChanged();
    void StyleChanged();
    void TextChanged();
    void userStartTimeStringSRTChanged();
    void userStartTimeStringASSChanged();
    void userEndTimeStringSRTChanged();
    void userEndTimeStringASSChanged();
    void unformattedTextSRTChanged();
    void unformattedTextASSChanged();

  private:
    class RowHeightRequests;

    resultTypes readSRTBlock(const QStringList& block, bool withTimes);
    void takeCue(const SrtCue& cue, bool withTimes);
    bool storeTime(double& stored, const QString& text);
    void changeText(const QString& text, subtitleTypes syntax);
    void takeSnapshot();
    void afterDialogRebuilt();
    void showRebuiltDialog();

    subtitleTypes inputSubType_ = subtitleTypes::none;
    qint64 originalIndex_ = 9999;
    qint64 userIndex_ = 9999;
    double textTableRowHeight_ = 16.0;
    bool isExcluded_ = false;
    QString timeConflict_;
    QImage dialogImage_;
    LinePicture dialogPicture_;  // when set, the picture instead of dialogImage_
    double startOverlap_ = 0.0;
    double endOverlap_ = 0.0;
    double userStartTimeDouble_ = 0.0;
    double userEndTimeDouble_ = 0.0;
    SSSubtitleDialog masterText_;
    QVariantMap assDialogDictionary_;
    qint64 Layer_ = 0;
    QString Style_ = QStringLiteral("Default");
    QString Name_ = QStringLiteral("Default");
    qint64 MarginL_ = 0;
    qint64 MarginR_ = 0;
    qint64 MarginV_ = 0;
    QString Effect_;
    QString Text_;
    // The snapshot a reader takes, as a record: every line of a load has
    // one, and a map of three values costs more than all the line's other
    // fields. A map assigned as a whole is kept as it is given.
    struct Originals {
        double start = 0.0;
        double end = 0.0;
        QString style;
    };
    std::optional<Originals> originals_;
    QVariantMap assignedOriginals_;
};

using SCSubtitleLinePtr = std::shared_ptr<SCSubtitleLine>;
using SCSubtitleLineList = QList<SCSubtitleLinePtr>;
