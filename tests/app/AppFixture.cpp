#include "AppFixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QTimer>

#include "app/SCMainWindowController.h"
#include "common/TimeTexts.h"
#include "document/SCSubtitle.h"
#include "platform/AppPaths.h"
#include "platform/TemporaryFolder.h"
#include "support/EventLoop.h"
#include "support/ScratchFiles.h"
#include "tools/InMemoryPreferenceStore.h"

void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

bool RecordingWorkspace::openURL(const QUrl& url) {
    urls.append(url);
    calls.append({"url", QString::fromUtf8(url.toEncoded()), {}});
    return true;
}

bool RecordingWorkspace::openFileWithApplicationAt(const QString& file, const QString& location) {
    calls.append({"at", location, file});
    return answerAt;
}

bool RecordingWorkspace::openFileWithApplicationNamed(const QString& file, const QString& name) {
    calls.append({"named", name, file});
    return answerNamed;
}

void RecordingPanels::beginOpenPanel(const OpenPanel& panel, OpenCompletion completion) {
    openPanels.append(panel);
    pendingOpen.push_back(std::move(completion));
}

std::optional<QString> RecordingPanels::runSavePanel(const SavePanel& panel) {
    savePanels.append(panel);
    if (saveForwarding) return saveForwarding->runSavePanel(panel);
    if (saveAnswers.empty()) return std::nullopt;
    auto answer = saveAnswers.front();
    saveAnswers.pop_front();
    return answer;
}

void RecordingPanels::answerOpenPanel(bool ok, const QString& path) {
    if (pendingOpen.empty()) return;
    OpenCompletion completion = std::move(pendingOpen.front());
    pendingOpen.pop_front();
    completion(ok, path);
}

void AppFixture::SetUp() {
    ASSERT_TRUE(scratch.isValid());
    makeFolder("app/bin");
    makeFolder("resources/fonts");
    makeFolder("data");
    makeFolder("tmp");
    appPaths.emplace(platform::AppPaths::Overrides{.bundleFolder = path("app/bin"),
                                                   .resourcesFolder = path("resources"),
                                                   .userDataFolder = path("data")});
    temporaryFolder.emplace(path("tmp"));
    // The font-cache test ends at once; ffplay is each test's own.
    writeScript("resources/ffmpeg/ffmpeg", "exit 0");
    writeFile("resources/fonts/fonts.conf", "<fontconfig/>");

    auto workspaceOwned = std::make_unique<RecordingWorkspace>();
    auto panelsOwned = std::make_unique<RecordingPanels>();
    workspace = workspaceOwned.get();
    panels = panelsOwned.get();
    AppDelegate::Options options;
    store = std::make_shared<InMemoryPreferenceStore>();
    options.preferenceStore = store;
    options.supportCommandRunner = [this](const QString& command, const QStringList& arguments) {
        supportCommands.append(command + " " + arguments.join(' '));
        return std::optional<QString>(QString());
    };
    options.importerFactory = [] { return std::make_shared<FakeImporter>(); };
    options.panels = std::move(panelsOwned);
    options.workspace = std::move(workspaceOwned);
    adjustOptions(options);
    delegate = std::make_unique<AppDelegate>(std::move(options));
    delegate->appPreferences()->setToolsLocationURL(QUrl::fromLocalFile(path("resources")));
}

void AppFixture::TearDown() {
    for (QMessageBox* box : shownBoxes()) box->done(0);
    delegate.reset();
    collect();
    appPaths.reset();
    temporaryFolder.reset();
}

QString AppFixture::path(const QString& relative) const {
    return scratch.filePath(relative);
}

QString AppFixture::makeFolder(const QString& relative) const {
    QDir().mkpath(path(relative));
    return path(relative);
}

QString AppFixture::writeFile(const QString& relative, const QByteArray& content) const {
    return testsupport::ScratchFiles(scratch.path()).write(relative, content);
}

QString AppFixture::writeScript(const QString& relative, const QByteArray& body) const {
    return testsupport::ScratchFiles(scratch.path()).writeScript(relative, body);
}

QByteArray AppFixture::readFile(const QString& file) const {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) return {};
    return in.readAll();
}

void AppFixture::startDelegate() {
    delegate->awakeFromNib();
}

SCMainWindowController* AppFixture::open(const QString& file) {
    EXPECT_TRUE(delegate->applicationOpenFile(file));
    return delegate->openWindowControllers().isEmpty() ? nullptr
                                                       : delegate->openWindowControllers().last();
}

bool AppFixture::waitForLines(SCMainWindowController* controller, int count) {
    return testsupport::spinUntil(
        [&] { return controller->windowSubtitle()->subtitleLinesArray().size() == count; });
}

QList<QMessageBox*> AppFixture::shownBoxes() {
    QList<QMessageBox*> boxes;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible())
            boxes.append(box);
    return boxes;
}

namespace {

std::optional<AppFixture::Answered> clickIn(QMessageBox* box, const QString& button) {
    AppFixture::Answered answered{box->text(), box->informativeText(), {}, box->windowModality()};
    QAbstractButton* target = nullptr;
    for (QAbstractButton* candidate : box->buttons()) {
        answered.buttons.append(candidate->text());
        if (candidate->text() == button) target = candidate;
    }
    if (target) target->click();
    return answered;
}

}  // namespace

std::optional<AppFixture::Answered> AppFixture::answerBox(const QString& button, int waitMs) {
    if (!testsupport::spinUntil([] { return !shownBoxes().isEmpty(); }, waitMs))
        return std::nullopt;
    return clickIn(shownBoxes().last(), button);
}

std::optional<AppFixture::Answered> AppFixture::answerDuring(const QString& button,
                                                             const std::function<void()>& action) {
    std::optional<Answered> answered;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || answered) return;
        answered = clickIn(box, button);
    });
    timer.start(20);
    action();
    return answered;
}

void AppFixture::drain(int ms) {
    testsupport::drainMainQueue(ms);
}

void AppFixture::collect() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

QByteArray srtOfLines(int count) {
    QByteArray text;
    for (int i = 0; i < count; ++i) {
        const double start = 10.0 * i + 1.0;
        text += QByteArray::number(i + 1) + "\n" + srtTimeStringFromDoubleTime(start).toUtf8() +
                " --> " + srtTimeStringFromDoubleTime(start + 2.0).toUtf8() + "\nLine " +
                QByteArray::number(i + 1) + "\n\n";
    }
    return text;
}

QByteArray assText() {
    QFile in(QStringLiteral(QUILLMAR_FIXTURES "/document/accents-utf8.ass"));
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}
