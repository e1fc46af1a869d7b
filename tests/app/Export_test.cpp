// Switching the export type, and exporting to disk or to a companion
// application.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "AppFixture.h"
#include "app/AppActions.h"
#include "app/FileDialogPanels.h"
#include "app/SCMainWindowController.h"
#include "app/SystemWorkspace.h"
#include "document/SCSubtitle.h"
#include "document/SCSubtitleLine.h"
#include "editor/SCViewControllerASS.h"
#include "editor/SCViewControllerSRT.h"
#include "editor/SubtitleLinesTableModel.h"
#include "formatting/SCStyle.h"
#include "platform/TemporaryFolder.h"
#include "support/EventLoop.h"

namespace {

const QString kNoneSet =
    "No path to %1 is set, and no application named %1 was found. Set the path under "
    "Companion Applications in the preferences (Quillmar › Preferences…).";

class Export : public AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        startDelegate();
    }
    SCMainWindowController* openLoaded(const QString& name, int lines) {
        auto* controller = open(writeFile(name, srtOfLines(lines)));
        EXPECT_TRUE(waitForLines(controller, lines));
        return controller;
    }
    static QList<int> selectedRows(SCMainViewController* view) {
        QList<int> rows;
        for (const QModelIndex& index : view->subtitleTable()->selectionModel()->selectedRows())
            rows.append(index.row());
        return rows;
    }
    void setPanel(const QString& key, const QVariant& value) {
        delegate->appPreferences()->modifyPreferencePanelDictionary(
            [&](std::optional<QVariantMap>& panel) { panel->insert(key, value); });
    }
};

TEST_F(Export, TypeSwitchKeepsTheLineAndSwitchesView) {
    struct Row {
        int lines;
        int selected;  // -1: none
        QString type;
        QList<int> expected;
    };
    const std::vector<Row> rows{
        {8, -1, "ASS", {0}}, {8, 0, "ASS", {0}}, {8, 5, "ASS", {5}}, {8, 5, "SRT", {5}},
        {1, 0, "ASS", {0}},  {0, -1, "ASS", {}}, {0, -1, "SRT", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(QString("%1 lines, row %2 → %3")
                         .arg(row.lines)
                         .arg(row.selected)
                         .arg(row.type)
                         .toStdString());
        // No lines: switched while the lines are still being read, as during
        // window loading.
        auto* controller = row.lines > 0 ? openLoaded("Film.srt", row.lines)
                                         : open(writeFile("Film.srt", srtOfLines(3)));
        SCMainViewController* before = controller->currentViewController();
        if (row.selected >= 0) before->subtitleTable()->selectRow(row.selected);
        controller->windowSubtitle()->setCurrentImportEncoding("WindowsLatin1");
        controller->setExportType(row.type);
        SCMainViewController* after = controller->currentViewController();
        const bool ass = row.type == "ASS";
        EXPECT_EQ(after, ass ? static_cast<SCMainViewController*>(controller->assViewController())
                             : controller->srtViewController());
        EXPECT_EQ(controller->mainTabView()->currentWidget(),
                  ass ? controller->assTabViewItem() : controller->srtTabViewItem());
        EXPECT_EQ(controller->windowSubtitle()->currentExportFileType(),
                  ass ? subtitleTypes::ass : subtitleTypes::srt);
        // (While a read runs, the document's encoding is the read's.)
        if (row.lines > 0) {
            EXPECT_EQ(after->importEncoding(), "WindowsLatin1");
        }
        EXPECT_FALSE(after->updateImportEncodingSilently());
        EXPECT_EQ(selectedRows(after), row.expected);
        EXPECT_TRUE(shownBoxes().isEmpty());
        waitForLines(controller, row.lines > 0 ? row.lines : 3);
        controller->cancelButton();
        collect();
    }
}

TEST_F(Export, DiskExportFollowsTheExtensionRule) {
    struct Row {
        QString type;
        QString typed;
        QString written;
    };
    const std::vector<Row> rows{
        {"SRT", "Film", "Film.srt"},
        {"SRT", "Film.SRT", "Film.SRT"},
        {"SRT", "Film.txt", "Film.txt.srt"},
        {"ASS", "Film.ssa", "Film.ssa.ass"},
        {"ASS", "Film.export.ass", "Film.export.ass"},
    };
    auto* controller = openLoaded("Film.srt", 2);
    for (const Row& row : rows) {
        SCOPED_TRACE((row.type + " " + row.typed).toStdString());
        controller->setExportType(row.type);
        panels->saveAnswers.push_back(path("out/") + row.typed);
        makeFolder("out");
        controller->exportButton();
        EXPECT_EQ(panels->savePanels.last().title, "Save As");
        EXPECT_EQ(panels->savePanels.last().proposedName, "Film.export." + row.type.toLower());
        const QByteArray written = readFile(path("out/") + row.written);
        if (row.type == "SRT")
            EXPECT_EQ(written, srtOfLines(2));
        else
            EXPECT_TRUE(written.startsWith("[Script Info]")) << written.left(40).constData();
        QFile::remove(path("out/") + row.written);
    }
    // Cancel writes nothing.
    controller->exportButton();
    EXPECT_TRUE(QDir(path("out")).isEmpty());
}

TEST_F(Export, TheSavePanelOpensInTheDocumentsFolder) {
    auto* controller = open(writeFile("films/Film.srt", srtOfLines(2)));
    ASSERT_TRUE(waitForLines(controller, 2));
    FileDialogPanels real;
    panels->saveForwarding = &real;
    // The panel as it shows: its folder and proposed name; the user keeps
    // them and presses Return.
    std::optional<QString> shownFolder;
    QString shownName;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog || shownFolder) return;
        shownFolder = QFileInfo(dialog->directory().absolutePath()).canonicalFilePath();
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(name, nullptr);
        shownName = name->text();
        QTest::keyClick(name, Qt::Key_Return);
    });
    timer.start(20);
    QTest::mouseClick(controller->window()->findChild<QPushButton*>("exportButton"),
                      Qt::LeftButton);
    ASSERT_TRUE(shownFolder);
    EXPECT_EQ(*shownFolder, QFileInfo(path("films")).canonicalFilePath());
    EXPECT_NE(*shownFolder, QFileInfo(QDir::currentPath()).canonicalFilePath());
    EXPECT_EQ(shownName, "Film.export.srt");
    EXPECT_EQ(readFile(path("films/Film.export.srt")), srtOfLines(2));
}

TEST_F(Export, TheFileMenuExportsTheActiveDocumentWindow) {
    QAction* item = delegate->actions()->exportAction();
    // The start window alone: nothing to export.
    EXPECT_FALSE(item->isEnabled());
    auto* first = openLoaded("First.srt", 1);
    auto* controller = openLoaded("Film.srt", 2);
    QWidget* window = controller->window();
    window->activateWindow();
    ASSERT_TRUE(testsupport::spinUntil([&] { return QApplication::activeWindow() == window; }));
    EXPECT_TRUE(item->isEnabled());

    // File › Export… clicked in the window's menu bar does what its Export
    // button does: this window's document, through the save panel.
    makeFolder("out");
    panels->saveAnswers.push_back(path("out/Chosen"));
    auto* bar = window->findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    QAction* file = bar->actions().first();
    ASSERT_EQ(file->text(), "File");
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(file).center());
    QMenu* menu = file->menu();
    ASSERT_TRUE(testsupport::spinUntil([&] { return menu->isVisible(); }));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
    ASSERT_EQ(panels->savePanels.size(), 1);
    EXPECT_EQ(panels->savePanels.last().proposedName, "Film.export.srt");
    EXPECT_EQ(readFile(path("out/Chosen.srt")), srtOfLines(2));

    // Another window active: off.
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(testsupport::spinUntil([&] { return QApplication::activeWindow() == &other; }));
    EXPECT_FALSE(item->isEnabled());
    first->window()->activateWindow();
    ASSERT_TRUE(
        testsupport::spinUntil([&] { return QApplication::activeWindow() == first->window(); }));
    EXPECT_TRUE(item->isEnabled());
}

TEST_F(Export, AnOpenEditIsWrittenFirst) {
    auto* controller = openLoaded("Film.srt", 2);
    QTableView* table = controller->srtViewController()->subtitleTable();
    table->setFocus();
    table->edit(table->model()->index(0, 2));
    auto* editor = table->findChild<QLineEdit*>();
    ASSERT_TRUE(editor);
    editor->setText("00:00:02,500");
    panels->saveAnswers.push_back(path("edited.srt"));
    controller->exportButton();
    EXPECT_TRUE(readFile(path("edited.srt")).contains("00:00:02,500 --> 00:00:03,000"));
}

TEST_F(Export, AGrownNameDoesNotReplaceAFileUnasked) {
    auto* controller = openLoaded("Film.srt", 2);
    const QByteArray original = readFile(path("Film.srt"));
    panels->saveAnswers.push_back(path("Film"));
    const auto cancelled = answerDuring("Cancel", [&] { controller->exportButton(); });
    ASSERT_TRUE(cancelled);
    EXPECT_EQ(cancelled->buttons, (QStringList{"OK", "Cancel"}));
    EXPECT_EQ(readFile(path("Film.srt")), original);
    controller->windowSubtitle()->subtitleLinesArray().first()->setUnformattedTextSRT("Changed");
    panels->saveAnswers.push_back(path("Film"));
    ASSERT_TRUE(answerDuring("OK", [&] { controller->exportButton(); }));
    EXPECT_TRUE(readFile(path("Film.srt")).contains("Changed"));
}

// The sheet of a failed export gives the document's reason: the folder that
// cannot be written, or the encoding and the first line it cannot hold.
TEST_F(Export, AFailedWriteShowsItsSheetWithTheReason) {
    auto* controller = openLoaded("Film.srt", 3);
    auto* exportButton = controller->window()->findChild<QPushButton*>("exportButton");
    ASSERT_TRUE(exportButton);
    struct Row {
        QString target;
        QString encoding;
        QString secondLine;
        QString informative;  // expected start of the informative text
    };
    const std::vector<Row> rows{
        {path("no/such/folder/x.srt"), "UTF8", "Line 2",
         "\"" + path("no/such/folder/x.srt") + "\" could not be written: "},
        {path("Film.srt/inside.srt"), "UTF8", "Line 2",
         "\"" + path("Film.srt/inside.srt") + "\" could not be written: "},
        // The second line of the table (line 7 of the file).
        {path("ascii.srt"), "ASCII", "日本",
         "Line 2 cannot be written in the encoding \"ASCII\". Choose another export encoding "
         "in the preferences, or change the text."},
        {path("latin1.srt"), "ISOLatin1", "5 €",
         "Line 2 cannot be written in the encoding \"ISOLatin1\"."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.target.toStdString());
        controller->windowSubtitle()->subtitleLinesArray()[1]->setUnformattedTextSRT(
            row.secondLine);
        setPanel("exportEncoding", row.encoding);
        panels->saveAnswers.push_back(row.target);
        QTest::mouseClick(exportButton, Qt::LeftButton);
        const auto answered = answerBox("OK");
        ASSERT_TRUE(answered);
        EXPECT_EQ(answered->text, "Quillmar Could Not Export This File");
        EXPECT_TRUE(answered->informativeText.startsWith(row.informative))
            << answered->informativeText.toStdString();
        EXPECT_EQ(answered->modality, Qt::WindowModal);
        EXPECT_FALSE(QFileInfo::exists(row.target));
    }
}

// The sheet names the line as the table numbers it, whatever the export
// writes before it: lines of several rows, lines left out, the ASS header.
TEST_F(Export, TheFailureSheetNamesTheLineAsTheTableNumbersIt) {
    struct Row {
        QString type;
        bool unencodableStyle;
        QString informative;
    };
    const std::vector<Row> rows{
        {"SRT", false, "Line 3 cannot be written in the encoding \"ISOLatin1\"."},
        {"ASS", false, "Line 3 cannot be written in the encoding \"ISOLatin1\"."},
        {"ASS", true, "The export cannot be written in the encoding \"ISOLatin1\"."},
    };
    setPanel("exportEncoding", "ISOLatin1");
    for (const Row& row : rows) {
        SCOPED_TRACE((row.type + (row.unencodableStyle ? " style" : "")).toStdString());
        auto* controller = openLoaded("Film.srt", 4);
        const auto lines = controller->windowSubtitle()->subtitleLinesArray();
        lines[0]->setUnformattedTextSRT("One\nTwo\nThree");
        lines[1]->setIsExcluded(true);
        lines[2]->setUnformattedTextSRT("5 €");
        if (row.unencodableStyle)
            controller->windowSubtitle()->subtitleStylesArray()[0]->setName("Sign €");
        controller->setExportType(row.type);
        const QAbstractItemModel* table =
            controller->currentViewController()->subtitleTable()->model();
        ASSERT_EQ(table->index(2, SubtitleLinesTableModel::numberColumn).data().toInt(), 3);
        panels->saveAnswers.push_back(path("latin1." + row.type.toLower()));
        QTest::mouseClick(controller->window()->findChild<QPushButton*>("exportButton"),
                          Qt::LeftButton);
        const auto answered = answerBox("OK");
        ASSERT_TRUE(answered);
        EXPECT_EQ(answered->text, "Quillmar Could Not Export This File");
        EXPECT_TRUE(answered->informativeText.startsWith(row.informative))
            << answered->informativeText.toStdString();
        controller->windowSubtitle()->subtitleLinesArray()[2]->setUnformattedTextSRT("Line 3");
        answerDuring("OK", [&] { controller->cancelButton(); });
        collect();
    }
}

// An ASS line's bold, italic and underline switches reach the SRT export as
// tags that pair up, also when they share a block with other codes; resets
// and weights end and begin them.
TEST_F(Export, AnAssSignExportsAsSrtWithItsTagsPaired) {
    const QByteArray ass =
        "[Script Info]\nScriptType: v4.00+\n\n[V4+ Styles]\n"
        "Format: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, "
        "BackColour, Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, "
        "BorderStyle, Outline, Shadow, Alignment, MarginL, MarginR, MarginV, Encoding\n"
        "Style: Default,Arial,20,&H00FFFFFF,&H000000FF,&H00000000,&H00000000,0,0,0,0,100,100,0,0,"
        "1,2,2,2,10,10,10,1\n\n[Events]\n"
        "Format: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n"
        "Dialogue: 0,0:00:01.00,0:00:03.00,Default,,0,0,0,,"
        "{\\pos(960,100)\\b1}A SIGN ON THE WALL{\\b0}\n"
        "Dialogue: 0,0:00:04.00,0:00:06.00,Default,,0,0,0,,{\\i1}Whispered{\\i0\\an8} words\n"
        "Dialogue: 0,0:00:07.00,0:00:09.00,Default,,0,0,0,,"
        "{\\i1}Said{\\r} aloud, {note\\b700}loud{\\b400}ly\n";
    auto* controller = open(writeFile("Sign.ass", ass));
    ASSERT_TRUE(waitForLines(controller, 3));
    auto* type = controller->window()->findChild<QComboBox*>("exportTypePopUp");
    ASSERT_EQ(type->currentText(), "ASS");
    QTest::keyClick(type, Qt::Key_Up);
    ASSERT_EQ(controller->exportType(), "SRT");
    panels->saveAnswers.push_back(path("Sign.export.srt"));
    QTest::mouseClick(controller->window()->findChild<QPushButton*>("exportButton"),
                      Qt::LeftButton);
    EXPECT_EQ(readFile(path("Sign.export.srt")),
              "1\n00:00:01,000 --> 00:00:03,000\n{\\pos(960,100)}<b>A SIGN ON THE WALL</b>\n\n"
              "2\n00:00:04,000 --> 00:00:06,000\n<i>Whispered{\\an8}</i> words\n\n"
              "3\n00:00:07,000 --> 00:00:09,000\n"
              "<i>Said{\\r}</i> aloud, {note\\b700}<b>loud{\\b400}</b>ly\n\n");
}

TEST_F(Export, CompanionRequestsGoByPathThenByName) {
    auto* controller = openLoaded("Film.srt", 2);
    controller->setExportDestination("Lodestra");
    struct Row {
        QString location;
        bool answerAt;
        bool answerNamed;
        QStringList kinds;
        bool sheet;
    };
    const std::vector<Row> rows{
        {"", false, true, {"named"}, false},
        {"/opt/lodestra", true, false, {"at"}, false},
        {"/opt/lodestra", false, true, {"at", "named"}, false},
        {"/opt/lodestra", false, false, {"at", "named"}, true},
        {"", false, false, {"named"}, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE((row.location + " " + row.kinds.join(',')).toStdString());
        setPanel("lodestraPath", row.location);
        workspace->calls.clear();
        workspace->answerAt = row.answerAt;
        workspace->answerNamed = row.answerNamed;
        controller->exportButton();
        QStringList kinds;
        for (const auto& call : workspace->calls) kinds.append(call.kind);
        EXPECT_EQ(kinds, row.kinds);
        ASSERT_FALSE(workspace->calls.isEmpty());
        const QString file = workspace->calls.first().file;
        EXPECT_EQ(workspace->calls.last().target, row.answerAt ? row.location : "Lodestra");
        // The temporary file stays for the application.
        EXPECT_EQ(readFile(file), srtOfLines(2));
        EXPECT_TRUE(QFileInfo(file).fileName().startsWith("quillmarExport."));
        if (row.sheet) {
            const auto answered = answerBox("OK");
            ASSERT_TRUE(answered);
            EXPECT_EQ(answered->text, "Lodestra Could Not Be Launched");
            EXPECT_EQ(answered->informativeText,
                      row.location.isEmpty()
                          ? kNoneSet.arg("Lodestra")
                          : "The path to Lodestra in the preferences appears to be invalid.");
        } else {
            AppFixture::drain(50);
            EXPECT_TRUE(shownBoxes().isEmpty());
        }
    }
}

// As the user meets it: no path in the preferences (they show "Not set"),
// Export pressed, and the sheet on the document window says so.
TEST_F(Export, ACompanionWithoutAPathSaysNoneIsSetAndWhereToSetIt) {
    auto* controller = openLoaded("Film.srt", 1);
    setPanel("pellimorPath", QString());
    auto* destinations = controller->window()->findChild<QComboBox*>("exportDestinationPopUp");
    ASSERT_NE(destinations, nullptr);
    // Chosen with the keys: End picks the last destination.
    ASSERT_EQ(destinations->itemText(destinations->count() - 1), "Pellimor");
    destinations->setFocus();
    QTest::keyClick(destinations, Qt::Key_End);
    ASSERT_EQ(controller->exportDestination(), "Pellimor");
    QTest::mouseClick(controller->window()->findChild<QPushButton*>("exportButton"),
                      Qt::LeftButton);
    const auto answered = answerBox("OK");
    ASSERT_TRUE(answered);
    EXPECT_EQ(answered->text, "Pellimor Could Not Be Launched");
    EXPECT_EQ(answered->informativeText, kNoneSet.arg("Pellimor"));
    EXPECT_EQ(answered->modality, Qt::WindowModal);
    EXPECT_EQ(workspace->calls.size(), 1);
}

// Without its temporary file there is nothing to hand over: the export's
// sheet, and no launch.
TEST_F(Export, AFailedTemporaryExportLaunchesNothing) {
    auto* controller = openLoaded("Film.srt", 1);
    controller->setExportDestination("Lodestra");
    writeFile("blocker", "a file where the temporary folder should be");
    temporaryFolder->set(path("blocker/tmp"));
    workspace->calls.clear();
    controller->exportButton();
    const auto answered = answerBox("OK");
    ASSERT_TRUE(answered);
    EXPECT_EQ(answered->text, "Quillmar Could Not Export This File");
    EXPECT_TRUE(workspace->calls.isEmpty());
}

TEST_F(Export, TheLaunchFailureSheetGoesByItself) {
    auto* controller = openLoaded("Film.srt", 1);
    controller->setExportDestination("Harnwick");
    // The sheet comes after this moment, so it cannot have been up for its
    // ten seconds before the clock shows ten: a busy machine only adds to it.
    QElapsedTimer clock;
    clock.start();
    controller->exportButton();
    ASSERT_TRUE(testsupport::spinUntil([] { return !shownBoxes().isEmpty(); }));
    EXPECT_EQ(shownBoxes().first()->text(), "Harnwick Could Not Be Launched");
    EXPECT_TRUE(testsupport::spinUntil([] { return shownBoxes().isEmpty(); },
                                       10000 + testsupport::kHangMs));
    EXPECT_GE(clock.elapsed(), 9900);
}

TEST_F(Export, RealLaunchesThroughTheDesktop) {
    auto* controller = openLoaded("Film.srt", 1);
    const QString recorder = writeScript("apps/player", "cp \"$1\" \"$0.got\"");
    writeFile(
        "share/applications/harnwick.desktop",
        ("[Desktop Entry]\nType=Application\nName=Harnwick\nExec=" + recorder + " %f\n").toUtf8());
    SystemWorkspace system(
        CompanionLauncher::SearchPaths{{path("bin")}, {path("share/applications")}});
    EXPECT_TRUE(system.openFileWithApplicationNamed(
        controller->windowSubtitle()->exportTempSubtitleWithEncoding("UTF8")->toLocalFile(),
        "harnwick"));
    EXPECT_TRUE(testsupport::spinUntil([&] { return QFileInfo::exists(recorder + ".got"); }));
    EXPECT_EQ(readFile(recorder + ".got"), srtOfLines(1));
}

}  // namespace
