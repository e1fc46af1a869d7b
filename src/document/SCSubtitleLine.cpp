#include "document/SCSubtitleLine.h"

#include <limits>
#include <mutex>
#include <vector>

#include "common/AppVariables.h"
#include "common/HelperFunctions.h"
#include "common/NotificationTypes.h"
#include "common/TimeTexts.h"
#include "document/ASSFormat.h"
#include "document/SRTFormat.h"
#include "document/SubtitleLineKeys.h"
#include "platform/MainQueue.h"
#include "platform/NotificationCenter.h"
#include "platform/TextMeasurer.h"

namespace {

// The text a display object shows, without its attributes.
QString displayStringOf(const platform::AttributedText& text) {
    return text.string();
}

// The text with only the characters of `allowed`, in order.
QString keepCharacters(const QString& text, QStringView allowed) {
    QString kept;
    kept.reserve(text.size());
    for (QChar c : text)
        if (allowed.contains(c)) kept.append(c);
    return kept;
}

// An optional sign and the leading decimal digits; 0 when there are none.
qint64 leadingInteger(const QString& text) {
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
    qint64 value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        if (value > (std::numeric_limits<qint64>::max() - 9) / 10) break;
        value = value * 10 + (text[i].unicode() - u'0');
    }
    return negative ? -value : value;
}

double measuredRowHeight(const platform::AttributedText& text, double width) {
    return platform::TextMeasurer::cellHeight(displayStringOf(text), width) + 3.0;
}

}  // namespace

// Row heights asked for on threads without font metrics of their own (a
// small load's thread, picture-subtitle workers). One main-queue block
// measures every request that has come in by the time it runs, instead of
// one block per line: its publication, queued after all of them, still finds
// every height stored.
class SCSubtitleLine::RowHeightRequests {
  public:
    struct Request {
        std::weak_ptr<SCSubtitleLine> line;
        std::shared_ptr<platform::AttributedText> text;
        double width;
    };

    static void add(Request request) {
        State& s = state();
        std::lock_guard lock(s.mutex);
        s.pending.push_back(std::move(request));
        if (s.drainQueued) return;
        s.drainQueued = true;
        platform::MainQueue::post(drain);
    }

  private:
    struct State {
        std::mutex mutex;
        std::vector<Request> pending;
        bool drainQueued = false;
    };

    static void drain() {
        std::vector<Request> requests;
        {
            State& s = state();
            std::lock_guard lock(s.mutex);
            requests.swap(s.pending);
            s.drainQueued = false;
        }
        for (const Request& request : requests)
            if (auto line = request.line.lock())
                line->textTableRowHeight_ = measuredRowHeight(*request.text, request.width);
    }

    // Never destroyed: a read still running on a worker thread while the
    // process ends may add a request after static destruction has begun.
    static State& state() {
        static auto* s = new State;
        return *s;
    }
};

SCSubtitleLine::SCSubtitleLine() : masterText_(SSSubtitleDialog(QString(), subtitleTypes::srt)) {}

SCSubtitleLine::SCSubtitleLine(ForRead) : masterText_(SSSubtitleDialog::unbuilt()) {}

SCSubtitleLine::~SCSubtitleLine() = default;

const QStringList& SCSubtitleLine::assOrderedDialogKeys() {
    return ASSFormat::eventFieldNames();
}

const QStringList& SCSubtitleLine::propertiesForDisplayKeys() {
    static const QStringList keys{"userStartTimeDouble", "userEndTimeDouble", "Style"};
    return keys;
}

const QStringList& SCSubtitleLine::propertyList() {
    static const QStringList keys{"originalIndex",          "userIndex",
                                  "userStartTimeStringSRT", "userEndTimeStringSRT",
                                  "userStartTimeStringASS", "userEndTimeStringASS",
                                  "userStartTimeDouble",    "userEndTimeDouble",
                                  "textTableRowHeight"};
    return keys;
}

void SCSubtitleLine::setIsExcluded(bool value) {
    isExcluded_ = value;
    emit isExcludedChanged();
}

void SCSubtitleLine::setTimeConflict(const QString& value) {
    timeConflict_ = value;
    emit timeConflictChanged();
}

void SCSubtitleLine::setStyle(const QString& value) {
    Style_ = value;
    emit StyleChanged();
}

void SCSubtitleLine::setText(const QString& value) {
    Text_ = value;
    emit TextChanged();
}

bool SCSubtitleLine::storeTime(double& stored, const QString& text) {
    const auto seconds = doubleTimeFromStringTime(text);
    if (!seconds) return false;
    stored = *seconds;
    return true;
}

QString SCSubtitleLine::userStartTimeStringSRT() const {
    return srtTimeStringFromDoubleTime(userStartTimeDouble_);
}
QString SCSubtitleLine::userStartTimeStringASS() const {
    return assTimeStringFromDoubleTime(userStartTimeDouble_);
}
QString SCSubtitleLine::userEndTimeStringSRT() const {
    return srtTimeStringFromDoubleTime(userEndTimeDouble_);
}
QString SCSubtitleLine::userEndTimeStringASS() const {
    return assTimeStringFromDoubleTime(userEndTimeDouble_);
}

bool SCSubtitleLine::setUserStartTimeStringSRT(const QString& text) {
    const bool read = storeTime(userStartTimeDouble_, text);
    emit userStartTimeStringSRTChanged();
    return read;
}
bool SCSubtitleLine::setUserStartTimeStringASS(const QString& text) {
    const bool read = storeTime(userStartTimeDouble_, text);
    emit userStartTimeStringASSChanged();
    return read;
}
bool SCSubtitleLine::setUserEndTimeStringSRT(const QString& text) {
    const bool read = storeTime(userEndTimeDouble_, text);
    emit userEndTimeStringSRTChanged();
    return read;
}
bool SCSubtitleLine::setUserEndTimeStringASS(const QString& text) {
    const bool read = storeTime(userEndTimeDouble_, text);
    emit userEndTimeStringASSChanged();
    return read;
}
bool SCSubtitleLine::setStart(const QString& text) {
    return storeTime(userStartTimeDouble_, text);
}
bool SCSubtitleLine::setEnd(const QString& text) {
    return storeTime(userEndTimeDouble_, text);
}

QString SCSubtitleLine::unformattedTextSRT() const {
    return masterText_.plainTextSRT();
}
QString SCSubtitleLine::unformattedTextASS() const {
    return masterText_.plainTextASS();
}

void SCSubtitleLine::setUnformattedTextSRT(const QString& text) {
    changeText(text, subtitleTypes::srt);
    emit unformattedTextSRTChanged();
}

void SCSubtitleLine::setUnformattedTextASS(const QString& text) {
    changeText(text, subtitleTypes::ass);
    emit unformattedTextASSChanged();
}

void SCSubtitleLine::changeText(const QString& text, subtitleTypes syntax) {
    const bool srt = syntax == subtitleTypes::srt;
    const QString current = srt ? masterText_.plainTextSRT() : masterText_.plainTextASS();
    // Texts that differ only in their Unicode composition are the same text.
    if (text == current || text.normalized(QString::NormalizationForm_D) ==
                               current.normalized(QString::NormalizationForm_D))
        return;
    if (srt)
        masterText_.setPlainTextSRT(text);
    else
        masterText_.setPlainTextASS(text);
    masterText_.updateForNewPlainText(syntax);
    calculateTableRowHeightForAtributedString(masterText_.formattedText(),
                                              AppVariables::dialogTableColumnWidth);
    // The line itself is the object: observers find its row by looking it up,
    // since "rowIndex" keeps the gaps of dropped cues.
    platform::NotificationCenter::defaultCenter().post(
        notificationTypes(notificationTypes::dialogChanged).rawValue(), this,
        {{QStringLiteral("rowIndex"), userIndex_}});
}

std::shared_ptr<platform::AttributedText> SCSubtitleLine::userTextSRT() const {
    return masterText_.formattedText();
}
std::shared_ptr<platform::AttributedText> SCSubtitleLine::userTextASS() const {
    return masterText_.formattedText();
}

QString SCSubtitleLine::spellCheckResultLabel() const {
    return masterText_.isSpelledCorrectly() ? QString() : QStringLiteral("S");
}

QString SCSubtitleLine::assDialogueFormatString() {
    return ASSFormat::eventFormatLine();
}

AssEvent SCSubtitleLine::assEvent() const {
    return AssEvent{Layer_,
                    userStartTimeDouble_,
                    userEndTimeDouble_,
                    Style_,
                    Name_,
                    MarginL_,
                    MarginR_,
                    MarginV_,
                    Effect_,
                    masterText_.plainTextASS()};
}

QString SCSubtitleLine::assDialogueString() const {
    return ASSFormat::dialogueLine(assEvent());
}

SrtCue SCSubtitleLine::srtCue() const {
    return SrtCue{userStartTimeDouble_, userEndTimeDouble_, masterText_.plainTextSRT()};
}

QString SCSubtitleLine::srtDialogueString() const {
    return SRTFormat::dialogueString(masterText_.plainTextSRT());
}

void SCSubtitleLine::takeSnapshot() {
    // The values of `propertiesForDisplayKeys`, read directly: every line of
    // a load takes one.
    originals_ = Originals{userStartTimeDouble_, userEndTimeDouble_, Style_};
    assignedOriginals_.clear();
}

QVariantMap SCSubtitleLine::originalsDictionary() const {
    if (!originals_) return assignedOriginals_;
    return QVariantMap{{QStringLiteral("userStartTimeDouble"), originals_->start},
                       {QStringLiteral("userEndTimeDouble"), originals_->end},
                       {QStringLiteral("Style"), originals_->style}};
}

void SCSubtitleLine::setOriginalsDictionary(const QVariantMap& value) {
    originals_.reset();
    assignedOriginals_ = value;
}

void SCSubtitleLine::afterDialogRebuilt() {
    calculateTableRowHeightForAtributedString(masterText_.formattedText(),
                                              AppVariables::dialogTableColumnWidth);
}

// --- Readers -----------------------------------------------------------------

resultTypes SCSubtitleLine::initializeFromSRTBlock(const QStringList& block) {
    return readSRTBlock(block, true);
}

resultTypes SCSubtitleLine::initializeTextOnlyFromSRTBlock(const QStringList& block) {
    return readSRTBlock(block, false);
}

resultTypes SCSubtitleLine::readSRTBlock(const QStringList& block, bool withTimes) {
    inputSubType_ = subtitleTypes::srt;
    // A cue whose times cannot be read fails before anything changes, with
    // or without taking the times: the load and a re-read keep and drop the
    // same cues, so a re-read never pairs texts with other lines, and no
    // line ever gets a made-up time.
    const auto cue = SRTFormat::readCue(block);
    if (!cue) return resultTypes::error;
    takeCue(*cue, withTimes);
    return resultTypes::ok;
}

void SCSubtitleLine::takeCue(const SrtCue& cue, bool withTimes) {
    if (withTimes) {
        // As the two SRT time-text setters would, without reading them again.
        userStartTimeDouble_ = cue.start;
        emit userStartTimeStringSRTChanged();
        userEndTimeDouble_ = cue.end;
        emit userEndTimeStringSRTChanged();
    }
    if (cue.text) {
        setText(*cue.text);
        masterText_ = SSSubtitleDialog(Text_, subtitleTypes::srt);
        afterDialogRebuilt();
    } else {
        setText(QString());
        textTableRowHeight_ = 19.0;
    }
    takeSnapshot();
}

resultTypes SCSubtitleLine::intitializeWithFormatString(const QString& formatString,
                                                        const QString& andDialogString) {
    inputSubType_ = subtitleTypes::ass;
    const auto fields = ASSFormat::eventFields(formatString, andDialogString);
    if (!fields) return resultTypes::error;

    QVariantMap dictionary;
    for (const QString& key : assOrderedDialogKeys()) {
        const auto found = fields->constFind(key);
        dictionary.insert(key, found != fields->constEnd() ? QVariant(*found) : valueForKey(key));
    }
    for (const char* key : {"Start", "End"}) {
        const QString name = QLatin1String(key);
        dictionary[name] = keepCharacters(dictionary.value(name).toString(), u"0123456789:.");
    }
    // An event whose times cannot be read changes nothing and is dropped by
    // the load, like an SRT cue with a bad time line.
    const QString start = dictionary.value(QStringLiteral("Start")).toString();
    const QString end = dictionary.value(QStringLiteral("End")).toString();
    if (!doubleTimeFromStringTime(start) || !doubleTimeFromStringTime(end))
        return resultTypes::error;

    assDialogDictionary_ = dictionary;
    Layer_ = leadingInteger(dictionary.value(QStringLiteral("Layer")).toString());
    setStart(start);
    setEnd(end);
    setStyle(dictionary.value(QStringLiteral("Style")).toString());
    Name_ = dictionary.value(QStringLiteral("Name")).toString();
    MarginL_ = leadingInteger(dictionary.value(QStringLiteral("MarginL")).toString());
    MarginR_ = leadingInteger(dictionary.value(QStringLiteral("MarginR")).toString());
    MarginV_ = leadingInteger(dictionary.value(QStringLiteral("MarginV")).toString());
    Effect_ = dictionary.value(QStringLiteral("Effect")).toString();
    setText(dictionary.value(QStringLiteral("Text")).toString());

    masterText_ = SSSubtitleDialog(Text_, subtitleTypes::ass);
    afterDialogRebuilt();
    takeSnapshot();
    return resultTypes::ok;
}

resultTypes SCSubtitleLine::intitializeTextOnlyWithFormatString(const QString& formatString,
                                                                const QString& andDialogString) {
    inputSubType_ = subtitleTypes::ass;
    const auto fields = ASSFormat::eventFields(formatString, andDialogString);
    if (!fields) return resultTypes::error;
    // Only positions with both a name and a value are in the fields.
    const auto text = fields->constFind(QStringLiteral("Text"));
    if (text != fields->constEnd()) setText(*text);
    takeSnapshot();
    return resultTypes::ok;
}

bool SCSubtitleLine::isKeptAfterRead(resultTypes parseResult) const {
    return parseResult == resultTypes::ok && !masterText_.originalText().isEmpty();
}

// --- Resets and copy ---------------------------------------------------------

void SCSubtitleLine::resetTimesToOriginal() {
    if (originals_) {
        userStartTimeDouble_ = originals_->start;
        userEndTimeDouble_ = originals_->end;
        return;
    }
    const QVariant start = assignedOriginals_.value(QStringLiteral("userStartTimeDouble"));
    const QVariant end = assignedOriginals_.value(QStringLiteral("userEndTimeDouble"));
    if (start.isValid()) userStartTimeDouble_ = start.toDouble();
    if (end.isValid()) userEndTimeDouble_ = end.toDouble();
}

void SCSubtitleLine::resetStyleToOriginal() {
    if (originals_) {
        setStyle(originals_->style);
        return;
    }
    const QVariant style = assignedOriginals_.value(QStringLiteral("Style"));
    if (style.isValid()) setStyle(style.toString());
}

void SCSubtitleLine::resetDialogToOriginal() {
    masterText_.resetToOriginal();
    showRebuiltDialog();
}

void SCSubtitleLine::removeFormattingFromText() {
    masterText_.removeTextFormatting();
    showRebuiltDialog();
}

void SCSubtitleLine::showRebuiltDialog() {
    afterDialogRebuilt();
    // Both texts already equal the dialog's: observers are told, but no text
    // change runs and no `dialogChanged` is posted.
    setUnformattedTextSRT(masterText_.plainTextSRT());
    setUnformattedTextASS(masterText_.plainTextASS());
}

QImage SCSubtitleLine::dialogImage() const {
    return dialogPicture_.isNull() ? dialogImage_ : dialogPicture_.image();
}

void SCSubtitleLine::setDialogImage(const QImage& image) {
    dialogImage_ = image;
    dialogPicture_ = LinePicture();
}

std::shared_ptr<SCSubtitleLine> SCSubtitleLine::copy() const {
    auto line = create();
    line->inputSubType_ = inputSubType_;
    line->originalIndex_ = originalIndex_;
    line->userIndex_ = userIndex_;
    line->dialogImage_ = dialogImage_;
    line->dialogPicture_ = dialogPicture_;
    line->textTableRowHeight_ = textTableRowHeight_;
    line->setIsExcluded(isExcluded_);
    line->setTimeConflict(timeConflict_);
    line->startOverlap_ = startOverlap_;
    line->endOverlap_ = endOverlap_;
    line->userStartTimeDouble_ = userStartTimeDouble_;
    line->userEndTimeDouble_ = userEndTimeDouble_;
    line->originals_ = originals_;
    line->assignedOriginals_ = assignedOriginals_;
    line->assDialogDictionary_ = assDialogDictionary_;
    line->Layer_ = Layer_;
    line->setStyle(Style_);
    line->Name_ = Name_;
    line->MarginL_ = MarginL_;
    line->MarginR_ = MarginR_;
    line->MarginV_ = MarginV_;
    line->Effect_ = Effect_;
    line->setText(Text_);
    return line;
}

// --- Row height and trace ----------------------------------------------------

resultTypes SCSubtitleLine::initializeFromImageSubImportedDictiary(const QVariantMap& dictionary) {
    inputSubType_ = subtitleTypes::srt;
    setUserStartTimeStringSRT(
        srtTimeStringFromDoubleTime(dictionary.value(QStringLiteral("startTime")).toDouble()));
    setUserEndTimeStringSRT(
        srtTimeStringFromDoubleTime(dictionary.value(QStringLiteral("endTime")).toDouble()));
    const QVariant picture = dictionary.value(QStringLiteral("lineImage"));
    if (picture.metaType() == QMetaType::fromType<LinePicture>()) {
        dialogImage_ = QImage();
        dialogPicture_ = picture.value<LinePicture>();
    } else {
        setDialogImage(picture.value<QImage>());
    }
    masterText_ = SSSubtitleDialog(dictionary.value(QStringLiteral("lineDialog")).toString(),
                                   subtitleTypes::srt);
    afterDialogRebuilt();
    takeSnapshot();
    return resultTypes::ok;
}

void SCSubtitleLine::calculateTableRowHeightForAtributedString(
    const std::shared_ptr<platform::AttributedText>& text, double andColWidth) {
    if (!text) return;
    // The main thread, and the parsing threads of a large load, which hold
    // font metrics of their own: their heights equal the main thread's.
    if (platform::TextMeasurer::canMeasureOnThisThread()) {
        textTableRowHeight_ = measuredRowHeight(*text, andColWidth);
        return;
    }
    // From another thread: measured later on the main thread, if the line
    // still exists then. A line not held by shared ownership cannot be
    // reached safely from there and keeps its height.
    std::weak_ptr<SCSubtitleLine> weak = weak_from_this();
    if (weak.expired()) return;
    RowHeightRequests::add({std::move(weak), text, andColWidth});
}
void SCSubtitleLine::logProperties() const {
    QVariantMap properties;
    for (const QString& key : propertyList()) properties.insert(key, valueForKey(key));
    qp(properties);
}

QVariant SCSubtitleLine::valueForKey(const QString& key) const {
    return SubtitleLineKeys::value(*this, key);
}

bool SCSubtitleLine::setValueForKey(const QString& key, const QVariant& value) {
    return SubtitleLineKeys::setValue(*this, key, value);
}
