#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>

#include "editor/EditorFixture.h"
#include "editor/QtPrinters.h"
#include "encodings/myEncodings.h"

using editortest::EditorTest;

namespace {

class ViewState : public EditorTest {};

template <typename View>
void expectInitialState(const char* kind) {
    View view;
    SCMainViewController& v = view;
    SCOPED_TRACE(kind);
    const std::pair<const char*, QVariant> byName[] = {
        {"zoomedOutImageViewRect", QRectF(66, -5, 352, 198)},
        {"zoomedInImageViewRect", QRectF(-50, 60, 608, 342)},
        {"imageSubViewIsZoomedIn", true},
        {"encodingNamesList", myEncodings::allNames()},
        {"updateImportEncodingSilently", false},
        {"shouldSpellCheck", true},
        {"dColumnWidth", 370.0f},
        {"sColumnWidth", 15.0f},
        {"importEncoding", QString("UTF8")},
        {"timeAdjustDirection", QString("Forward")},
        {"timeAdjustTextSRT", QString("00:00:00,000")},
        {"timeAdjustTextASS", QString("0:00:00.00")},
    };
    for (const auto& [name, value] : byName) EXPECT_EQ(v.property(name), value) << name;
    EXPECT_EQ(v.viewWindowController(), nullptr);
    EXPECT_EQ(v.viewSubtitle(), nullptr);
    EXPECT_EQ(v.subtitleTableController(), nullptr);
    EXPECT_EQ(v.subtitleTable(), nullptr);
    EXPECT_EQ(v.stylesTableController(), nullptr);
    EXPECT_EQ(v.stylesTable(), nullptr);
    EXPECT_EQ(v.imageSubPopover(), nullptr);
    EXPECT_EQ(v.imageSubView(), nullptr);
    EXPECT_EQ(v.imageSubImageview(), nullptr);
    EXPECT_EQ(v.dialogTextView(), nullptr);
    EXPECT_EQ(v.dialogScrollView(), nullptr);
    EXPECT_EQ(v.viewControllerQueue().name(), "viewController Queue");
    EXPECT_EQ(v.viewControllerQueue().width(), 1);
    EXPECT_EQ(v.timeValidator().oldText(), "");
    EXPECT_EQ(v.timeValidator().timeStringLength(), 12);
    EXPECT_FALSE(v.isViewLoaded());
}

TEST_F(ViewState, NewViewsHoldTheInitialValuesAndShareNoQueueOrValidator) {
    expectInitialState<SCViewControllerSRT>("SRT");
    expectInitialState<SCViewControllerASS>("ASS");
    SCViewControllerSRT srt;
    SCViewControllerASS ass;
    EXPECT_NE(&srt.viewControllerQueue(), &ass.viewControllerQueue());
    EXPECT_NE(&srt.timeValidator(), &ass.timeValidator());
    EXPECT_TRUE(srt.isSRTView());
    EXPECT_FALSE(ass.isSRTView());
    EXPECT_EQ(ass.availableFontsList(), QFontDatabase::families());
    EXPECT_TRUE(host.window()->findChildren<QMessageBox*>().isEmpty());
}

TEST_F(ViewState, ViewDidLoadTakesTheStoredEncodingSilently) {
    const char* names[] = {"WindowsLatin1", "Klingon"};
    for (const char* name : names) {
        setPreference("importEncoding", QString(name));
        auto view = makeView<SCViewControllerSRT>();
        QSignalSpy announced(view.get(), &SCMainViewController::importEncodingChanged);
        view->view();
        EXPECT_EQ(view->importEncoding(), name);
        EXPECT_EQ(announced.count(), 1);
        EXPECT_FALSE(view->updateImportEncodingSilently());
        // A name outside the catalogue is kept; the pop-up selects nothing.
        auto* popUp = view->view()->findChild<QComboBox*>("encodingPopUp");
        EXPECT_EQ(popUp->currentIndex(), myEncodings::allNames().indexOf(name));
        EXPECT_EQ(popUp->count(), 141);
    }
}

TEST_F(ViewState, SilentUpdateIsOneFlagClearedByTheNextAssignment) {
    auto view = makeView<SCViewControllerASS>();
    view->setUpdateImportEncodingSilently(true);
    view->setUpdateImportEncodingSilently(true);
    view->setImportEncoding("MacRoman");
    EXPECT_FALSE(view->updateImportEncodingSilently());
    view->setImportEncoding("UTF16LE");
    EXPECT_EQ(view->importEncoding(), "UTF16LE");
    // The pop-up acts on every choice, the same name again included.
    auto* popUp = view->view()->findChild<QComboBox*>("encodingPopUp");
    QSignalSpy announced(view.get(), &SCMainViewController::importEncodingChanged);
    emit popUp->activated(popUp->findText("UTF8"));
    emit popUp->activated(popUp->findText("UTF8"));
    EXPECT_EQ(announced.count(), 2);
    EXPECT_EQ(view->importEncoding(), "UTF8");
}

TEST_F(ViewState, SpellCheckSwitchSetsTheTwoWidthsAndReloadsTwice) {
    auto view = shownView<SCViewControllerSRT>("lf.srt", subtitleTypes::srt);
    auto* table = view->subtitleTable();
    auto* spell = view->view()->findChild<QCheckBox*>("spellCheckSwitch");
    struct Step {
        bool on;
        float dialog, spell;
    };
    for (const Step& step :
         {Step{false, 387.0f, 0.0f}, Step{true, 370.0f, 15.0f}, Step{true, 370.0f, 15.0f}}) {
        QSignalSpy reloads(view->subtitleTableController(), &QAbstractItemModel::dataChanged);
        view->setShouldSpellCheck(step.on);
        EXPECT_EQ(view->dColumnWidth(), step.dialog);
        EXPECT_EQ(view->sColumnWidth(), step.spell);
        EXPECT_EQ(reloads.count(), 2);
        EXPECT_EQ(spell->isChecked(), step.on);
        EXPECT_EQ(table->horizontalHeader()->sectionSize(SubtitleLinesTableModel::dialogColumn),
                  qRound(step.dialog));
        EXPECT_EQ(table->isColumnHidden(SubtitleLinesTableModel::spellColumn), !step.on);
    }
}

// Names the layouts give the code.
struct LayoutName {
    const char* name;
    const char* kind;  // "outlet", "key", "action"
    bool srt, ass;
};

TEST_F(ViewState, BothLayoutsLoadAndCarryEveryName) {
    const LayoutName names[] = {
        {"subtitleTableController", "outlet", true, true},
        {"subtitleTable", "outlet", true, true},
        {"stylesTableController", "outlet", true, true},
        {"stylesTable", "outlet", true, true},
        {"imageSubPopover", "outlet", true, true},
        {"imageSubView", "outlet", true, true},
        {"imageSubImageview", "outlet", true, true},
        {"dialogTextView", "outlet", true, true},
        {"dialogScrollView", "outlet", true, true},
        {"testButton", "outlet", true, false},
        {"timeFieldSRT", "outlet", true, false},
        {"timeFieldASS", "outlet", false, true},
        {"dialogText", "key", true, true},
        {"importEncoding", "key", true, true},
        {"encodingNamesList", "key", true, true},
        {"shouldSpellCheck", "key", true, true},
        {"dColumnWidth", "key", true, true},
        {"sColumnWidth", "key", true, true},
        {"subtitleStylesNamesList", "key", true, true},
        {"timeAdjustDirection", "key", true, true},
        {"timeAdjustTextSRT", "key", true, true},
        {"timeAdjustTextASS", "key", true, true},
        {"availableFontsList", "key", false, true},
        {"showImageSubPopover:", "action", true, true},
        {"closeImageSubPopover:", "action", true, true},
        {"toggleImageSubPopoverZoom:", "action", true, true},
        {"cycleEncodingsButton:", "action", true, true},
        {"textStyleButtonClicked:", "action", true, true},
        {"nextLineButtonClicked:", "action", true, true},
        {"previousLineButtonClicked:", "action", true, true},
        {"allNoneStylesButton:", "action", true, true},
        {"cleanTextLineButton:", "action", true, true},
        {"cleanTextAllButton:", "action", true, true},
        {"resetLineButtons:", "action", true, true},
        {"resetAllButtons:", "action", true, true},
        {"timeShiftButton:", "action", true, true},
        {"timeStretchButton:", "action", true, true},
        {"srtTestButton:", "action", true, false},
        {"fixConflictsButton:", "action", true, false},
        {"goToNextConflict:", "action", true, false},
        {"goToPreviousConflict:", "action", true, false},
        {"assTestButton:", "action", false, true},
        {"resetColorsButton:", "action", false, true},
        {"resetFontButton:", "action", false, true},
    };
    auto srtView = makeView<SCViewControllerSRT>();
    auto assView = makeView<SCViewControllerASS>();
    SCViewControllerSRT& srt = *srtView;
    SCViewControllerASS& ass = *assView;
    for (SCMainViewController* view :
         {static_cast<SCMainViewController*>(&srt), static_cast<SCMainViewController*>(&ass)}) {
        QWidget* layout = view->view();
        QList<QObject*> everything{view->subtitleTableController(), view->stylesTableController()};
        for (QObject* child : layout->findChildren<QObject*>()) everything.append(child);
        for (QObject* child : view->imageSubPopover()->findChildren<QObject*>())
            everything.append(child);
        everything.append(view->imageSubPopover());
        for (const LayoutName& n : names) {
            if (!(view == &srt ? n.srt : n.ass)) continue;
            const QString name = n.name;
            bool found = false;
            for (QObject* object : everything) {
                if (QString(n.kind) == "outlet") found |= object->objectName() == name;
                if (QString(n.kind) == "action")
                    found |= object->property("action").toString() == name;
            }
            if (QString(n.kind) == "key") found = view->metaObject()->indexOfProperty(n.name) >= 0;
            EXPECT_TRUE(found) << (view == &srt ? "ViewSRT " : "ViewASS ") << n.kind << " "
                               << n.name;
        }
        // Titles are compared exactly; the line buttons leave the focus alone.
        for (QAbstractButton* button : layout->findChildren<QAbstractButton*>())
            EXPECT_FALSE(button->text().contains('&')) << button->text().toStdString();
        for (const char* name : {"boldButton", "italicButton", "underlineButton",
                                 "previousLineButton", "nextLineButton"})
            EXPECT_EQ(layout->findChild<QWidget*>(name)->focusPolicy(), Qt::NoFocus) << name;
    }
    const QStringList titles = [&] {
        QStringList list;
        for (auto* b : srt.view()->findChildren<QAbstractButton*>()) list.append(b->text());
        return list;
    }();
    for (const char* title : {"B", "I", "U", "All", "None", "Reset Times", "Reset Dialog",
                              "Reset Style", "Clean Line", "Clean All", "Shift", "Stretch"})
        EXPECT_TRUE(titles.contains(title)) << title;
    auto* direction = ass.view()->findChild<QComboBox*>("timeAdjustDirectionPopUp");
    EXPECT_EQ(direction->itemText(0), "Forward");
    EXPECT_EQ(direction->itemText(1), "Backward");
}

}  // namespace
