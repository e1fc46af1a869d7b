// The movie preview with a fake ffplay that records its arguments and plays
// until the test releases it, or fails at once; and with the real ffplay on
// files that are no movies.
#include <QAbstractButton>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "AppFixture.h"
#include "app/FontconfigTesterSheet.h"
#include "app/SCMainWindowController.h"
#include "document/SCSubtitle.h"
#include "editor/SCViewControllerSRT.h"
#include "platform/ChildProcess.h"
#include "platform/TemporaryFolder.h"
#include "support/EventLoop.h"
#include "support/FakeFfplay.h"
#include "support/ScopedOverride.h"
#include "tools/FfplayErrorOutput.h"

namespace {

class Preview : public AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        startDelegate();
        ffplay.install(ffplayPath());
        writeFile("Film.mkv", "movie");
    }
    void TearDown() override {
        ffplay.release();
        AppFixture::TearDown();
    }
    QString ffplayPath() const { return path("resources/ffmpeg/ffplay"); }
    SCMainWindowController* openFilm(const QByteArray& srt, int lines) {
        auto* controller = open(writeFile("Film.srt", srt));
        EXPECT_TRUE(waitForLines(controller, lines));
        EXPECT_EQ(controller->previewFilePath(), path("Film.mkv"));
        return controller;
    }
    QPushButton* playButton(SCMainWindowController* controller) {
        return controller->window()->findChild<QPushButton*>("playPreviewFileButton");
    }
    bool waitForStart(int ms = testsupport::kHangMs) {
        return testsupport::spinUntil([&] { return ffplay.started(); }, ms);
    }
    QString subtitleArgument() {
        const QStringList args = ffplay.arguments();
        return args.isEmpty() ? QString() : args.last();
    }
    QStringList temporaryExports() {
        return QDir(path("tmp")).entryList({"quillmarExport.*"}, QDir::Files);
    }
    testsupport::FakeFfplay ffplay{path("record")};

    static QByteArray timedLines() {
        return "1\n00:00:00,300 --> 00:00:01,000\nA\n\n2\n00:00:10,000 --> 00:00:11,000\nB\n\n"
               "3\n00:00:00,500 --> 00:00:12,000\nC\n\n";
    }
};

TEST_F(Preview, PlaysFromHalfASecondBeforeTheSelectedLine) {
    struct Row {
        int selected;
        QString start;
    };
    const std::vector<Row> rows{{1, "9.5"}, {0, "0.0"}, {2, "0.0"}, {-1, "0.0"}};
    auto* controller = openFilm(timedLines(), 3);
    QPushButton* button = playButton(controller);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.selected);
        ffplay.forget();
        QTableView* table = controller->srtViewController()->subtitleTable();
        table->clearSelection();
        if (row.selected >= 0) table->selectRow(row.selected);
        int ticks = 0;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
        ticker.start(10);
        button->click();
        EXPECT_FALSE(button->isEnabled());
        ASSERT_TRUE(waitForStart());
        const QStringList args = ffplay.arguments();
        ASSERT_EQ(args.size(), 10);
        EXPECT_EQ(args.mid(0, 4), (QStringList{"-i", path("Film.mkv"), "-ss", row.start}));
        EXPECT_EQ(args.at(8), "-vf");
        // The document as it stands, in a file that exists while it plays.
        ASSERT_EQ(temporaryExports().size(), 1);
        const QString exported = path("tmp/") + temporaryExports().first();
        EXPECT_TRUE(subtitleArgument().endsWith(QFileInfo(exported).fileName()));
        EXPECT_EQ(readFile(exported), timedLines());
        // The main loop keeps answering while the film plays.
        const int before = ticks;
        EXPECT_TRUE(testsupport::spinUntil([&] { return ticks > before + 5; }));
        EXPECT_FALSE(button->isEnabled());
        ffplay.release();
        ASSERT_TRUE(testsupport::spinUntil([&] { return button->isEnabled(); }));
        EXPECT_TRUE(temporaryExports().isEmpty());
    }
}

TEST_F(Preview, AnEmptyDocumentPlaysFromTheStart) {
    auto* controller = open(writeFile("Film.srt", ""));
    ASSERT_EQ(controller->previewFilePath(), path("Film.mkv"));
    playButton(controller)->click();
    ASSERT_TRUE(waitForStart());
    EXPECT_EQ(ffplay.arguments().value(3), "0.0");
    ffplay.release();
    EXPECT_TRUE(testsupport::spinUntil([&] { return playButton(controller)->isEnabled(); }));
}

TEST_F(Preview, PlayNeedsAMovie) {
    // A document without a movie beside it: Play is off from the start.
    auto* bare = open(writeFile("Other.srt", timedLines()));
    ASSERT_TRUE(waitForLines(bare, 3));
    EXPECT_TRUE(bare->previewFilePath().isEmpty());
    EXPECT_FALSE(playButton(bare)->isEnabled());

    auto* controller = openFilm(timedLines(), 3);
    QPushButton* play = playButton(controller);
    auto* field = controller->window()->findChild<QLineEdit*>("previewFilePathField");
    EXPECT_TRUE(play->isEnabled());
    // The user empties the movie field: Play goes off and does nothing.
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Backspace);
    EXPECT_TRUE(controller->previewFilePath().isEmpty());
    EXPECT_FALSE(play->isEnabled());
    QTest::mouseClick(play, Qt::LeftButton);
    EXPECT_TRUE(temporaryExports().isEmpty());
    EXPECT_FALSE(waitForStart(300));
    // A path typed in turns it on again.
    QTest::keyClicks(field, path("Film.mkv"));
    EXPECT_TRUE(play->isEnabled());
    QTest::mouseClick(play, Qt::LeftButton);
    ASSERT_TRUE(waitForStart());
    ffplay.release();
    EXPECT_TRUE(testsupport::spinUntil([&] { return play->isEnabled(); }));
}

TEST_F(Preview, APathClearedWhileTheCacheIsBuiltStartsNoPlayer) {
    // The cache is built until the test lets it end.
    writeScript("resources/ffmpeg/ffmpeg",
                "i=0; while [ ! -e '" + path("built").toUtf8() +
                    "' ] && [ $i -lt 600 ]; do sleep 0.05; i=$((i+1)); done");
    auto* controller = openFilm(timedLines(), 3);
    playButton(controller)->click();
    // The busy window shows over the document window after a second.
    ASSERT_TRUE(testsupport::spinUntil([&] {
        auto* dialog = controller->window()->findChild<QDialog*>("FontconfigTester");
        return dialog && dialog->isVisible();
    }));
    controller->setPreviewFilePath({});
    writeFile("built", "");
    ASSERT_TRUE(testsupport::spinUntil([&] { return !controller->isPreviewing(); }));
    // Without a movie the button stays off.
    EXPECT_FALSE(playButton(controller)->isEnabled());
    EXPECT_FALSE(waitForStart(300));
    EXPECT_TRUE(temporaryExports().isEmpty());
    EXPECT_TRUE(shownBoxes().isEmpty());
}

TEST_F(Preview, FailuresShowTheirSheets) {
    auto* controller = openFilm(timedLines(), 3);
    QFile::remove(path("resources/ffmpeg/ffplay"));
    playButton(controller)->click();
    auto answered = answerBox("OK");
    ASSERT_TRUE(answered);
    EXPECT_EQ(answered->text, "ffplay Could Not Be Launched");
    EXPECT_EQ(answered->informativeText, "Check that ffmpeg is installed.");
    EXPECT_TRUE(playButton(controller)->isEnabled());
    EXPECT_TRUE(temporaryExports().isEmpty());

    ffplay.install(ffplayPath());
    writeFile("blocker", "a file where the temporary folder should be");
    temporaryFolder->set(path("blocker/tmp"));
    playButton(controller)->click();
    answered = answerBox("OK");
    ASSERT_TRUE(answered);
    EXPECT_EQ(answered->text, "Quillmar Could Not Export This File");
    EXPECT_TRUE(playButton(controller)->isEnabled());
    EXPECT_FALSE(waitForStart(500));
}

TEST_F(Preview, AMovieThatIsNotThereIsSaidToBeMissing) {
    auto* controller = openFilm(timedLines(), 3);
    QPushButton* play = playButton(controller);
    auto* field = controller->window()->findChild<QLineEdit*>("previewFilePathField");
    // The user types a path to a movie that does not exist, and plays.
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, path("Flim.mkv"));
    ASSERT_EQ(controller->previewFilePath(), path("Flim.mkv"));
    EXPECT_TRUE(play->isEnabled());
    QTest::mouseClick(play, Qt::LeftButton);
    const auto answered = answerBox("OK");
    ASSERT_TRUE(answered);
    EXPECT_EQ(answered->text, "The Movie Can Not Be Found");
    EXPECT_EQ(answered->informativeText,
              "There is no movie file at \"" + path("Flim.mkv") +
                  "\". Choose the movie with Select…, or correct its path.");
    EXPECT_EQ(answered->modality, Qt::WindowModal);
    EXPECT_FALSE(ffplay.started());
    EXPECT_TRUE(temporaryExports().isEmpty());
    EXPECT_TRUE(play->isEnabled());
    // A folder is no movie either.
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, path("record"));
    QTest::mouseClick(play, Qt::LeftButton);
    ASSERT_TRUE(answerBox("OK"));
    EXPECT_FALSE(ffplay.started());
}

TEST_F(Preview, QuittingStopsThePlayerAndRemovesItsFile) {
    auto* controller = openFilm(timedLines(), 3);
    playButton(controller)->click();
    ASSERT_TRUE(waitForStart());
    ASSERT_EQ(temporaryExports().size(), 1);
    bool terminated = false;
    QObject::connect(delegate.get(), &AppDelegate::terminateRequested, [&] { terminated = true; });
    answerDuring("OK", [&] { delegate->quit(); });
    EXPECT_TRUE(terminated);
    EXPECT_TRUE(temporaryExports().isEmpty());
    // The player is stopped, not left to play on.
    EXPECT_TRUE(testsupport::spinUntil([&] { return !ffplay.ended(); }, 100));
    collect();
    AppFixture::drain(2500);
    EXPECT_FALSE(ffplay.ended());
}

TEST_F(Preview, APlayerThatFailsAtOnceSaysWhyOnASheet) {
    using testsupport::FakeFfplay;
    const QString movie = path("Film.mkv");
    const QString start = "ffplay could not play \"" + movie + "\"";
    // ffplay ends with status 0 when it cannot read the movie.
    const QByteArray unreadable = FakeFfplay::banner() + FakeFfplay::statusLine() +
                                  "[matroska,webm @ 0x55d0] EBML header parsing failed\n" +
                                  movie.toUtf8() + ": Invalid data found when processing input\n";
    const std::vector<std::pair<FakeFfplay::Behaviour, QString>> rows{
        {{unreadable, 0, false},
         start + ". It said:\n\n[matroska,webm] EBML header parsing failed\n" + movie +
             ": Invalid data found when processing input"},
        {{"Could not initialize SDL - No available video device\n", 1, false},
         start + ". It said:\n\nCould not initialize SDL - No available video device"},
        {{{}, 3, false}, start + " and ended with exit status 3."},
    };
    auto* controller = openFilm(timedLines(), 3);
    QPushButton* play = playButton(controller);
    for (const auto& [behaviour, informative] : rows) {
        SCOPED_TRACE(informative.toStdString());
        ffplay.install(ffplayPath(), behaviour);
        QTest::mouseClick(play, Qt::LeftButton);
        const auto answered = answerBox("OK");
        ASSERT_TRUE(answered);
        EXPECT_EQ(answered->text, "The Movie Can Not Be Played");
        EXPECT_EQ(answered->informativeText, informative);
        EXPECT_EQ(answered->modality, Qt::WindowModal);
        EXPECT_TRUE(play->isEnabled());
        EXPECT_TRUE(temporaryExports().isEmpty());
    }

    // A player the user closes says nothing, even when it is closed at once.
    ffplay.install(ffplayPath());
    ffplay.forget();
    QTest::mouseClick(play, Qt::LeftButton);
    ASSERT_TRUE(waitForStart());
    ffplay.release();
    ASSERT_TRUE(testsupport::spinUntil([&] { return !controller->isPreviewing(); }));
    drain();
    EXPECT_TRUE(shownBoxes().isEmpty());

    // Closing the window stops a player that would have failed, and drops
    // its report.
    ffplay.install(ffplayPath(), {"Could not initialize SDL\n", 1, true});
    ffplay.forget();
    QTest::mouseClick(play, Qt::LeftButton);
    ASSERT_TRUE(waitForStart());
    controller->window()->close();
    collect();
    EXPECT_TRUE(delegate->openWindowControllers().isEmpty());
    ffplay.release();
    drain(200);
    EXPECT_FALSE(ffplay.ended());
    EXPECT_TRUE(shownBoxes().isEmpty());
    EXPECT_TRUE(temporaryExports().isEmpty());
}

// The real ffplay, on a display of none: on a text file named as a movie,
// and on a movie cut short before its index.
TEST_F(Preview, TheRealPlayerOnAFileThatIsNoMovie) {
    const QString tools = QStringLiteral(QUILLMAR_RESOURCES "/ffmpeg/");
    ASSERT_TRUE(QFile::remove(ffplayPath()));
    ASSERT_TRUE(QFile::link(tools + "ffplay", ffplayPath()));
    const testsupport::ScopedOverride<QByteArray> video(
        [](const QByteArray& value) { qputenv("SDL_VIDEODRIVER", value); }, "dummy",
        qgetenv("SDL_VIDEODRIVER"));
    const testsupport::ScopedOverride<QByteArray> audio(
        [](const QByteArray& value) { qputenv("SDL_AUDIODRIVER", value); }, "dummy",
        qgetenv("SDL_AUDIODRIVER"));

    writeFile("Notes.mp4", "These are notes, not a movie.\n");
    const QString whole = path("Whole.mp4");
    const auto made = platform::ChildProcess::run(
        tools + "ffmpeg", {"-nostdin", "-loglevel", "error", "-f", "lavfi", "-i",
                           "testsrc=size=64x48:rate=10", "-t", "2", "-pix_fmt", "yuv420p", whole});
    ASSERT_TRUE(made.succeeded()) << made.standardError.toStdString();
    // The index of an MP4 file comes last: half of it is a download cut short.
    QFile::copy(whole, path("Cut.mp4"));
    QFile cut(path("Cut.mp4"));
    ASSERT_TRUE(cut.resize(QFileInfo(whole).size() / 2));

    auto* controller = openFilm(timedLines(), 3);
    QPushButton* play = playButton(controller);
    for (const QString name : {"Notes.mp4", "Cut.mp4"}) {
        SCOPED_TRACE(name.toStdString());
        controller->setPreviewFilePath(path(name));
        QTest::mouseClick(play, Qt::LeftButton);
        const auto answered = answerBox("OK");
        ASSERT_TRUE(answered);
        EXPECT_EQ(answered->text, "The Movie Can Not Be Played");
        const QString& said = answered->informativeText;
        EXPECT_TRUE(said.startsWith("ffplay could not play \"" + path(name) + "\". It said:\n\n"))
            << said.toStdString();
        EXPECT_TRUE(said.endsWith(path(name) + ": Invalid data found when processing input"))
            << said.toStdString();
        // Its words, not its banner.
        EXPECT_FALSE(said.contains("ffplay version")) << said.toStdString();
        EXPECT_FALSE(said.contains("configuration:")) << said.toStdString();
        EXPECT_LE(said.count(u'\n'), 2 + FfplayErrorOutput::kMostLines);
        EXPECT_TRUE(play->isEnabled());
    }
}

}  // namespace
