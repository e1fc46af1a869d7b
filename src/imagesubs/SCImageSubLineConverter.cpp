#include "imagesubs/SCImageSubLineConverter.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QThread>
#include <QVariantMap>
#include <chrono>

#include "common/HelperFunctions.h"
#include "common/NotificationTypes.h"
#include "document/LinePicture.h"
#include "imagesubs/LineGrabCommand.h"
#include "imagesubs/SCImageSubImporter.h"
#include "platform/NotificationCenter.h"
#include "tools/ApplicationContext.h"
#include "tools/ChildEnvironments.h"
#include "tools/SCPreferences.h"
#include "tools/TemporaryNames.h"
#include "tools/TesseractCommand.h"
#include "tools/ToolLocation.h"
#include "tools/ToolRunResult.h"

namespace {

constexpr int kGrabRuns = 6;
constexpr double kGrabOffset = 0.2;

// What a line needs of its importer, read once; the defaults stand when the
// importer is gone.
struct ImportSettings {
    ImageSubResolution resolution;
    double startTime = 0;
    ImageSubTimeLimits limits;
    platform::CancellationFlag cancellation;
};

ImportSettings settingsOf(const std::weak_ptr<SCImageSubImporter>& weak) {
    ImportSettings settings;
    if (const auto importer = weak.lock()) {
        settings.resolution = importer->tempSubToMkvResolution();
        settings.startTime = importer->tempSubToMkvStartTime();
        settings.limits = importer->timeLimits();
        settings.cancellation = importer->cancellation();
    }
    return settings;
}

void removeIfThere(const std::optional<QUrl>& url) {
    if (!url) return;
    const QString path = url->toLocalFile();
    if (QFileInfo::exists(path)) QFile::remove(path);
}

QString ocrLanguage() {
    // A copy taken under the preferences' guard, afresh for every line.
    const auto preferences = ApplicationContext::appPreferences();
    const QString key = QStringLiteral("userTesseractLanguage");
    const auto panel = preferences->preferencePanelDictionary();
    if (panel && panel->contains(key)) return panel->value(key).toString();
    return preferences->preferencePanelDefaultsDictionary().value(key).toString();
}

// The engine writes its file before it exits; a slow file system gets a
// short grace, never an open-ended wait.
bool waitForFile(const QString& path, std::chrono::milliseconds limit) {
    const auto giveUp = std::chrono::steady_clock::now() + limit;
    while (!QFileInfo::exists(path)) {
        if (std::chrono::steady_clock::now() >= giveUp) return false;
        QThread::msleep(20);
    }
    return true;
}

// Why a run of `tool` that was not cancelled did not do its part: what the
// tool said, else how it ended; none when it ended well.
std::optional<QString> toolRunFailure(const QString& tool, const QString& program,
                                      const ToolRunResult& run, std::chrono::milliseconds limit) {
    if (!run.started)
        return tool +
               (QFileInfo::exists(program) ? QStringLiteral(" could not be started: ")
                                           : QStringLiteral(" is missing: ")) +
               program;
    if (run.timedOut())
        return tool + QStringLiteral(" did not finish within %1 seconds.")
                          .arg(double(limit.count()) / 1000.0);
    if (run.succeeded()) return std::nullopt;
    const QString said = run.text().value_or(QString()).trimmed();
    if (!said.isEmpty()) return said;
    if (run.exitStatus >= 0)
        return tool + QStringLiteral(" ended with status %1.").arg(run.exitStatus);
    return tool + QStringLiteral(" was ended by a signal.");
}

}  // namespace

SCImageSubLineConverter::SCImageSubLineConverter(std::weak_ptr<SCImageSubImporter> forImporter)
    : parentImporter_(std::move(forImporter)) {}

SCImageSubLineConverter::~SCImageSubLineConverter() = default;

void SCImageSubLineConverter::importLineNumber(qint64 lineNumber, double forStartTime,
                                               double andEndTime, const QUrl& inTempFile,
                                               bool isLastTime) {
    tempFileURL_ = inTempFile;
    startTime_ = forStartTime;
    endTime_ = andEndTime;
    const ImportSettings settings = settingsOf(parentImporter_);
    const double grabTime = forStartTime + kGrabOffset - settings.startTime;

    imageSubLineQueue_.addOperation(
        [this, grabTime] { croppedPngURL_ = createCroppedPngForFile(*tempFileURL_, grabTime); });
    imageSubLineQueue_.waitUntilAllOperationsAreFinished();

    if (!croppedPngURL_) {
        lineDialog_ = QStringLiteral("CROP ERROR");
        lineImage_ = QImage();
    } else {
        const QString png = croppedPngURL_->toLocalFile();
        imageSubLineQueue_.addOperation(
            [this] { lineDialog_ = ocrTextForPngURL(*croppedPngURL_); });
        imageSubLineQueue_.addOperation([this, png] {
            // The line keeps the file's bytes, not the decoded grab.
            QFile file(png);
            const auto picture = file.open(QIODevice::ReadOnly)
                                     ? LinePicture::fromEncoded(file.readAll())
                                     : std::nullopt;
            lineImage_ = picture ? QVariant::fromValue(*picture) : QVariant();
        });
        imageSubLineQueue_.waitUntilAllOperationsAreFinished();
    }

    QVariantMap userInfo = {
        {QStringLiteral("startTime"), forStartTime},
        {QStringLiteral("endTime"), andEndTime},
        {QStringLiteral("isLast"), isLastTime},
        {QStringLiteral("lineNumber"), lineNumber},
        {QStringLiteral("lineImage"), lineImage_},
        {QStringLiteral("lineDialog"), lineDialog_ ? QVariant(*lineDialog_) : QVariant()},
    };
    // The importer is named by its number, and only while it exists.
    const std::weak_ptr<SCImageSubImporter> importer = parentImporter_;
    qint64 number = 0;
    if (const auto alive = importer.lock()) number = alive->importNumber();
    doOnMainThread([userInfo, importer, number]() mutable {
        userInfo.insert(QStringLiteral("theImporter"),
                        importer.expired() ? QVariant() : QVariant(number));
        platform::NotificationCenter::defaultCenter().post(
            notificationTypes(notificationTypes::imageSubLineImported).rawValue(), nullptr,
            userInfo);
    });
    cleanUp();
}

std::optional<QUrl> SCImageSubLineConverter::createCroppedPngForFile(const QUrl& file,
                                                                     double atTime) {
    grabFailure_.reset();
    const ImportSettings settings = settingsOf(parentImporter_);
    const QUrl output =
        makeUniqueNSTempFileURL(QStringLiteral("croppedPng"), QStringLiteral("png"));
    const QString tool = QStringLiteral("ffmpeg");
    const auto program = urlOfApp(tool);
    if (!program) {
        grabFailure_ = QStringLiteral("ffmpeg is missing: there is no tools folder.");
        return std::nullopt;
    }
    const QStringList arguments = lineGrabArguments(
        atTime, file.toLocalFile(),
        grabSizeFor(settings.resolution.width, settings.resolution.height), output.toLocalFile());
    ToolRunResult result;
    for (int run = 0; run < kGrabRuns; ++run) {
        result = runToolProcess(program->toLocalFile(), arguments, {},
                                {settings.limits.grab, settings.cancellation});
        if (QFileInfo::exists(output.toLocalFile())) return output;
        // Neither a tool that cannot start nor a stopped one does better
        // the next time.
        if (!result.started || result.timedOut() || result.cancelled()) break;
    }
    // The last run's words say why; a cancelled line is no failed one.
    if (!result.cancelled())
        grabFailure_ = toolRunFailure(tool, program->toLocalFile(), result, settings.limits.grab)
                           .value_or(QStringLiteral("ffmpeg ended without writing the picture."));
    return std::nullopt;
}

QString SCImageSubLineConverter::ocrTextForPngURL(const QUrl& pngURL) {
    ocrRead_ = false;
    ocrFailure_.reset();
    const QString picture = pngURL.toLocalFile();
    const QString textFile = tesseractTextFilePath(picture);
    ocrTextFileURL_ = QUrl::fromLocalFile(textFile);
    const QStringList arguments = tesseractArguments(picture, ocrLanguage());
    const auto program = urlOfApp(QStringLiteral("tesseract"));
    if (!program) {
        ocrFailure_ = QStringLiteral("tesseract is missing: there is no OCR support folder.");
        return {};
    }

    const ImportSettings settings = settingsOf(parentImporter_);
    platform::EnvironmentDictionary environment = updateTaskEnvironmentDictionaryForBinary(
        QStringLiteral("tesseract"), platform::ChildProcess::currentEnvironment());
    // Four engines at once, each with its own threads, slow one another down
    // many times over.
    environment.insert(QStringLiteral("OMP_THREAD_LIMIT"), QStringLiteral("1"));
    const ToolRunResult run = runToolProcess(program->toLocalFile(), arguments, environment,
                                             {settings.limits.ocr, settings.cancellation});
    if (run.cancelled()) return {};
    const std::optional<QString> failure = toolRunFailure(
        QStringLiteral("tesseract"), program->toLocalFile(), run, settings.limits.ocr);
    // A run that never started or was stopped at its limit has no text.
    if (!run.started || run.timedOut()) {
        ocrFailure_ = failure;
        return {};
    }
    // An engine that failed (its language data missing or damaged, for
    // instance) writes nothing later; one that succeeded gets a short grace
    // for its file.
    if (!waitForFile(textFile,
                     failure ? std::chrono::milliseconds(0) : settings.limits.ocrTextFile)) {
        ocrFailure_ = failure.value_or(QStringLiteral("tesseract ended without writing its text."));
        return {};
    }
    // Only a text that was read back makes the line a read one.
    QFile file(textFile);
    const QByteArray text = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    if (file.error() != QFileDevice::NoError) {
        ocrFailure_ = QStringLiteral("tesseract's text could not be read: ") + file.errorString();
        return {};
    }
    ocrRead_ = true;
    return tesseractText(text);
}

void SCImageSubLineConverter::cleanUp() {
    if (!shouldCleanup_) return;
    removeIfThere(croppedPngURL_);
    removeIfThere(ocrPngURL_);
    removeIfThere(ocrTextFileURL_);
}
