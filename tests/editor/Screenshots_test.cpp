#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>
#include <QTabWidget>
#include <QTest>

#include "editor/EditorFixture.h"

using editortest::EditorTest;
using editortest::HostWindow;

namespace {

// On demand only: QUILLMAR_SCREENSHOTS names a folder, and the run is meant
// for a real display (scripts/with-display.sh with QT_QPA_PLATFORM=xcb). Saves the two tabs
// of a document window with real files loaded, and the picture popover.
class Screenshots : public EditorTest {};

QUrl editorFixture(const QString& name) {
    return QUrl::fromLocalFile(QStringLiteral(QUILLMAR_FIXTURES "/editor/") + name);
}

TEST_F(Screenshots, SavesBothTabsAndThePopover) {
    const QString folder = qEnvironmentVariable("QUILLMAR_SCREENSHOTS");
    if (folder.isEmpty()) GTEST_SKIP() << "set QUILLMAR_SCREENSHOTS to a folder";
    QDir().mkpath(folder);

    auto srtDocument = SCSubtitle::create();
    documenttest::load(srtDocument, editorFixture("sample.srt"), subtitleTypes::srt);
    auto assDocument = SCSubtitle::create();
    documenttest::load(assDocument, editorFixture("sample.ass"), subtitleTypes::ass);
    auto srt = makeView<SCViewControllerSRT>(srtDocument);
    auto ass = makeView<SCViewControllerASS>(assDocument);

    auto* tabs = new QTabWidget;
    tabs->addTab(srt->view(), "SRT");
    tabs->addTab(ass->view(), "ASS");
    host.show(tabs);
    host.window()->setWindowTitle("sample.srt");
    host.window()->resize(1180, 820);
    testsupport::drainMainQueue(300);

    selectRows(*srt, {1});
    auto* lines = srt->subtitleTableController();
    lines->setData(lines->index(6, 0), Qt::Unchecked, Qt::CheckStateRole);  // greyed, no conflict
    testsupport::drainMainQueue(200);
    host.window()->grab().save(folder + "/editor-srt.png");

    tabs->setCurrentIndex(1);
    selectRows(*ass, {4});
    ass->stylesTable()->selectRow(1);
    testsupport::drainMainQueue(300);
    host.window()->grab().save(folder + "/editor-ass.png");

    tabs->setCurrentIndex(0);
    QImage picture(720, 120, QImage::Format_RGB32);
    picture.fill(Qt::black);
    QPainter painter(&picture);
    painter.setPen(Qt::white);
    painter.setFont(QFont("DejaVu Sans", 36));
    painter.drawText(picture.rect(), Qt::AlignCenter, "At the harbour,");
    painter.end();
    srt->subtitleTableController()->lineAt(1)->setDialogImage(picture);
    selectRows(*srt, {1});
    srt->showImageSubPopover();
    testsupport::drainMainQueue(300);
    srt->imageSubPopover()->grab().save(folder + "/editor-popover.png");
    EXPECT_TRUE(QFile::exists(folder + "/editor-popover.png"));
    srt->closeImageSubPopover();

    // The question before a re-read, on the window.
    srt->setImportEncoding("MacRoman");
    testsupport::drainMainQueue(300);
    QMessageBox* question = host.window()->findChild<QMessageBox*>();
    ASSERT_NE(question, nullptr);
    host.window()->grab().save(folder + "/editor-question.png");
    question->grab().save(folder + "/editor-question-box.png");
    question->reject();
    testsupport::drainMainQueue(100);
}

// A picture subtitle's document: lf.srt's lines, each with a picture of its
// words as a disc subtitle draws them.
std::shared_ptr<SCSubtitle> pictureDocument() {
    auto document = documenttest::loaded("lf.srt", subtitleTypes::srt);
    for (const auto& line : document->subtitleLinesArray()) {
        QImage picture(720, 120, QImage::Format_ARGB32);
        picture.fill(QColor(30, 30, 30));
        QPainter painter(&picture);
        painter.setPen(Qt::white);
        painter.setFont(QFont("DejaVu Sans", 30));
        painter.drawText(picture.rect(), Qt::AlignCenter, line->unformattedTextSRT());
        painter.end();
        line->setDialogImage(picture);
    }
    document->setIsImageBased(true);
    return document;
}

// The lines table of an ASS file whose lines carry override tags, and the
// picture popover of a picture document with the screen around it.
TEST_F(Screenshots, SavesTaggedRowsAndThePictureOnTheScreen) {
    const QString folder = qEnvironmentVariable("QUILLMAR_SCREENSHOTS");
    if (folder.isEmpty()) GTEST_SKIP() << "set QUILLMAR_SCREENSHOTS to a folder";
    QDir().mkpath(folder);

    auto ass = makeView<SCViewControllerASS>(
        documenttest::loaded("override-tags.ass", subtitleTypes::ass));
    host.show(ass->view());
    host.window()->setWindowTitle("override-tags.ass");
    host.window()->setGeometry(40, 40, 1180, 820);
    testsupport::drainMainQueue(300);
    host.window()->grab().save(folder + "/editor-tagged-rows.png");
    host.window()->hide();

    auto srt = makeView<SCViewControllerSRT>(pictureDocument());
    HostWindow pictures;
    pictures.show(srt->view());
    pictures.window()->setWindowTitle("harbour.sup");
    pictures.window()->setGeometry(60, 60, 1100, 760);
    testsupport::drainMainQueue(300);
    selectRows(*srt, {1});
    auto* button = srt->view()->findChild<QAbstractButton*>("imageSubButton");
    QTest::mouseClick(button, Qt::LeftButton);
    testsupport::drainMainQueue(500);
    EXPECT_TRUE(srt->imageSubPopover()->isShown());
    pictures.window()->screen()->grabWindow(0).save(folder + "/editor-picture-popover.png");
}

}  // namespace

TEST_F(Screenshots, SavesATimeCellTypedWithItsSeparators) {
    const QString folder = qEnvironmentVariable("QUILLMAR_SCREENSHOTS");
    if (folder.isEmpty()) GTEST_SKIP() << "set QUILLMAR_SCREENSHOTS to a folder";
    QDir().mkpath(folder);
    auto view = shownView<SCViewControllerSRT>("typed-times.srt", subtitleTypes::srt);
    host.window()->setWindowTitle("typed-times.srt");
    QTableView* table = view->subtitleTable();
    const QPoint centre = table
                              ->visualRect(view->subtitleTableController()->index(
                                  0, SubtitleLinesTableModel::endColumn))
                              .center();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, centre);
    auto* field = table->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(field, nullptr);
    QTest::keyClick(field, Qt::Key_Home);
    QTest::keyClicks(field, "00:00:12");
    EXPECT_EQ(field->text(), "00:00:12,195");
    testsupport::drainMainQueue(300);
    host.window()->grab().save(folder + "/editor-typed-time.png");
}
