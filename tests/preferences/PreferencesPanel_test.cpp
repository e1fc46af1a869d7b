#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <functional>

#include "PreferencesFixture.h"
#include "preferences/LanguagePopover.h"
#include "preferences/PreferencesWindow.h"
#include "support/EventLoop.h"

namespace {

class PreferencesPanel : public PreferencesFixture {
  protected:
    template <typename T>
    T* control(const char* name) {
        T* found = controller->window()->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QVariant stored() const {
        return preferences->preferenceDefaults()->value("preferencePanelDictionary");
    }
    QByteArray exclusionsFile() const {
        QFile in(tessdata() + "/configs/exclusions");
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("<missing>");
    }
};

TEST_F(PreferencesPanel, InitialValuesAndNamedAccess) {
    EXPECT_EQ(controller->userTesseractLanguage(), "");
    EXPECT_TRUE(controller->usereTesseractLanguageList().isEmpty());
    EXPECT_EQ(controller->importEncoding(), "UTF8");
    EXPECT_EQ(controller->exportEncoding(), "UTF8");
    EXPECT_TRUE(controller->showToolTipsFlag());
    EXPECT_FALSE(controller->isDownloadingLang());
    EXPECT_FALSE(controller->isDownloadingAvailableLang());
    EXPECT_EQ(controller->languagePopoverLabel(),
              "Select the language data to download from the Borvane website.");
    EXPECT_EQ(controller->encodingNamesList().size(), 141);
    EXPECT_EQ(controller->encodingNamesList().first(), "ANSEL");
    EXPECT_NE(controller->tesseractDownloader(), nullptr);

    const struct {
        const char* key;
        QVariant value;
        bool accepted;
        QVariant readBack;
    } cases[] = {
        {"harnwickPath", QVariant(), true, QString("")},
        {"harnwickPath", QString("/opt/h"), true, QString("/opt/h")},
        {"harnwickPath", 3, false, QString("/opt/h")},
        {"usereTesseractLanguageList", QVariant(), true, QStringList()},
        {"usereTesseractLanguageList", QVariantList{"a", "b"}, true, QStringList{"a", "b"}},
        {"usereTesseractLanguageList", QVariantList{"a", 1}, false, QStringList{"a", "b"}},
        {"showToolTipsFlag", false, true, false},
        {"showToolTipsFlag", QString("true"), false, false},
        {"tesseractLanguagesList", QVariant(), true, QVariant()},
        {"tesseractLanguagesList", QStringList{"eng"}, true, QStringList{"eng"}},
        {"tesseractLanguagesDictionaryArray", QVariantMap{{"eng", QStringList{"eng.x"}}}, true,
         QVariantMap{{"eng", QStringList{"eng.x"}}}},
        {"tesseractLanguagesDictionaryArray", QVariantMap{{"eng", 1}}, false,
         QVariantMap{{"eng", QStringList{"eng.x"}}}},
        {"encodingNamesList", QStringList{}, false, QVariant()},
        {"noSuchProperty", QString("x"), false, QVariant()},
        {"objectName", QString("x"), false, QVariant()},
        {"languageListPopover", QVariant::fromValue<QObject*>(nullptr), true,
         QVariant::fromValue<QObject*>(nullptr)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(controller->setValueForKey(c.key, c.value), c.accepted) << c.key;
        if (c.readBack.isValid()) {
            EXPECT_EQ(controller->valueForKey(c.key), c.readBack) << c.key;
        }
    }
    EXPECT_FALSE(controller->valueForKey("noSuchProperty").isValid());
    EXPECT_EQ(controller->valueForKey("encodingNamesList").toStringList().size(), 141);
    EXPECT_FALSE(controller->setValueForKey("languageListPopover", QString("x")));
}

TEST_F(PreferencesPanel, SavingKeepsExactlyTheDictionarysKeys) {
    setPanelEntry("harnwickPath", QString("/opt/harnwick"));
    setPanelEntry("somebodyElses", 7);
    controller->loadPropertiesFromPreferences();
    EXPECT_EQ(controller->harnwickPath(), "/opt/harnwick");

    controller->setValueForKey("lodestraPath", QVariant());
    controller->setTessExclusionString("|");
    controller->savePropertiesToPreferences();

    const QVariantMap saved = stored().toMap();
    EXPECT_EQ(saved.keys(), panel().keys());
    EXPECT_EQ(saved.keys(), (QStringList{"exportEncoding", "harnwickPath", "importEncoding",
                                         "lodestraPath", "pellimorPath", "showToolTipsFlag",
                                         "somebodyElses", "userTesseractLanguage"}));
    EXPECT_EQ(saved.value("somebodyElses"), 7);
    EXPECT_EQ(saved.value("lodestraPath"), QString(""));
    EXPECT_EQ(saved.value("harnwickPath"), "/opt/harnwick");
}

// This and the next run also where no window manager frames a window
// ("Unframed." in ctest): there the first placing is never done again.
TEST_F(PreferencesPanel, ReopenedWhereItWasLeft) {
    QWidget document;
    document.setGeometry(100, 80, 640, 480);
    document.show();
    QWidget* key = &document;
    controller->setKeyWindowQuery([&] { return key; });

    // The first opening: over the document window, centred across it, its
    // top 25 below the document's top.
    controller->openPreferencesPanel();
    PreferencesWindow* panel = controller->window();
    testsupport::drainMainQueue();
    const QRect first = panel->frameGeometry();
    EXPECT_EQ(first.top(), document.frameGeometry().top() + 25);
    EXPECT_EQ(first.center().x(), document.frameGeometry().center().x());

    // Again while it is the key window itself, then after Escape closed it:
    // it does not creep down the screen.
    key = panel;
    controller->openPreferencesPanel();
    EXPECT_EQ(panel->frameGeometry(), first);
    QTest::keyClick(panel, Qt::Key_Escape);
    ASSERT_FALSE(panel->isVisible());
    key = &document;
    controller->openPreferencesPanel();
    EXPECT_EQ(panel->frameGeometry(), first);

    // Moved by the user and closed: the next opening finds it there.
    panel->move(20, 30);
    const QRect moved = panel->frameGeometry();
    QTest::keyClick(panel, Qt::Key_Escape);
    controller->openPreferencesPanel();
    EXPECT_EQ(panel->frameGeometry(), moved);
}

TEST_F(PreferencesPanel, FirstOpeningLiesInsideTheScreen) {
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget document;
    const struct {
        const char* name;
        QRect key;  // empty: no key window
        // Where the window's frame is, from its size.
        std::function<QPoint(QSize)> expected;
    } cases[] = {
        {"no key window", QRect(),
         [&](QSize size) {
             return available.topLeft() + QPoint((available.width() - size.width()) / 2,
                                                 (available.height() - size.height()) / 2);
         }},
        {"a key window low on the screen", QRect(60, available.bottom() - 100, 640, 480),
         [&](QSize size) {
             const QRect key = document.frameGeometry();
             return QPoint(key.x() + (key.width() - size.width()) / 2,
                           available.bottom() + 1 - size.height());
         }},
        {"a key window off the right edge", QRect(available.right() - 50, 40, 640, 480),
         [&](QSize size) {
             return QPoint(available.right() + 1 - size.width(),
                           document.frameGeometry().top() + 25);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        makeController();
        if (!c.key.isEmpty()) document.setGeometry(c.key);
        document.setVisible(!c.key.isEmpty());
        controller->setKeyWindowQuery(
            [&document] { return document.isVisible() ? &document : nullptr; });

        controller->openPreferencesPanel();
        testsupport::drainMainQueue();

        const QRect frame = controller->window()->frameGeometry();
        EXPECT_TRUE(available.contains(frame)) << frame.x() << "," << frame.y();
        EXPECT_EQ(frame.topLeft(), c.expected(frame.size()));
    }

    // The first placing over a key window, a wider and a narrower one.
    EXPECT_EQ(PreferencesWindow::placement(QRect(0, 0, 101, 50), QRect(7, 7, 100, 50)),
              QPoint(0, 25));
    EXPECT_EQ(PreferencesWindow::placement(QRect(10, 0, 100, 50), QRect(7, 7, 103, 50)),
              QPoint(8, 25));
}

TEST_F(PreferencesPanel, EscapeIsCancel) {
    setPanelEntry("lodestraPath", QString("/opt/lodestra"));
    controller->openPreferencesPanel();
    QLineEdit* field = control<QLineEdit>("lodestraPathField");
    field->setFocus();
    QTest::keyClicks(field, "/more");
    ASSERT_EQ(controller->lodestraPath(), "/opt/lodestra/more");

    // Typed while the field is being edited, as a user does.
    QTest::keyClick(field, Qt::Key_Escape);

    EXPECT_FALSE(controller->window()->isVisible());
    EXPECT_EQ(panel().value("lodestraPath"), "/opt/lodestra");
    EXPECT_FALSE(stored().isValid());
    EXPECT_EQ(exclusionsFile(), "<missing>");
}

TEST_F(PreferencesPanel, OpeningFillsTheControlsFromThePanel) {
    setPanelEntry("pellimorPath", QString("/opt/P\u00E9llimor one/app"));
    setPanelEntry("importEncoding", QString("WindowsLatin1"));
    setPanelEntry("exportEncoding", QString("Klingon"));
    setPanelEntry("showToolTipsFlag", false);
    writeTessdata("deu.traineddata");
    writeTessdata("eng.traineddata");
    writeTessdata("configs/exclusions", "tessedit_char_blacklist |");

    controller->openPreferencesPanel();

    EXPECT_EQ(control<QLineEdit>("pellimorPathField")->text(), "/opt/P\u00E9llimor one/app");
    EXPECT_EQ(control<QComboBox>("importEncodingPopUp")->currentText(), "WindowsLatin1");
    EXPECT_EQ(control<QComboBox>("exportEncodingPopUp")->currentIndex(), -1);
    EXPECT_FALSE(control<QCheckBox>("toolTipsCheckBox")->isChecked());
    auto* languages = control<QComboBox>("tesseractLanguagePopUp");
    EXPECT_EQ(languages->count(), 2);
    EXPECT_EQ(languages->currentText(), "eng");
    EXPECT_EQ(control<QLineEdit>("tessExclusionField")->text(), "|");

    // An unknown stored encoding goes back as it was.
    control<QPushButton>("okPreferencesButton")->click();
    EXPECT_EQ(stored().toMap().value("exportEncoding"), "Klingon");

    // A choice in a pop-up sets the property.
    controller->openPreferencesPanel();
    auto* exports = control<QComboBox>("exportEncodingPopUp");
    exports->setCurrentIndex(exports->findText("UTF16LE"));
    emit exports->activated(exports->currentIndex());
    EXPECT_EQ(controller->exportEncoding(), "UTF16LE");
}

TEST_F(PreferencesPanel, OKWhileTypingWritesWhatWasTyped) {
    controller->openPreferencesPanel();
    QLineEdit* field = control<QLineEdit>("tessExclusionField");
    field->setFocus();
    QTest::keyClicks(field, "|l\u00A9");
    QTest::keyClicks(control<QLineEdit>("harnwickPathField"), "/opt/h a");

    control<QPushButton>("okPreferencesButton")->click();

    EXPECT_EQ(exclusionsFile(), "tessedit_char_blacklist |l\xC2\xA9");
    EXPECT_FALSE(controller->window()->isVisible());
    EXPECT_EQ(stored().toMap().value("harnwickPath"), "/opt/h a");
    EXPECT_EQ(panel().value("harnwickPath"), "/opt/h a");
}

TEST_F(PreferencesPanel, OKWithoutTheConfigsFolderKeepsTheWindowOpen) {
    QDir(tessdata() + "/configs").removeRecursively();
    controller->openPreferencesPanel();
    QTest::keyClicks(control<QLineEdit>("harnwickPathField"), "/x");
    logged.clear();

    control<QPushButton>("okPreferencesButton")->click();

    EXPECT_TRUE(controller->window()->isVisible());
    EXPECT_EQ(logged, QStringList{"!!!! error writing to exclusion file: file://" + tessdata() +
                                  "/configs/exclusions"});
    EXPECT_FALSE(stored().isValid());
    EXPECT_EQ(panel().value("harnwickPath"), "");
    EXPECT_FALSE(QDir(tessdata() + "/configs").exists());

    control<QPushButton>("cancelPreferencesButton")->click();
    EXPECT_FALSE(controller->window()->isVisible());
}

TEST_F(PreferencesPanel, CancelClosesThePopoverAndDiscardsTheEdits) {
    writeTessdata("eng.traineddata");
    setPanelEntry("lodestraPath", QString("/opt/lodestra"));
    controller->openPreferencesPanel();
    QTest::keyClicks(control<QLineEdit>("lodestraPathField"), "/more");
    EXPECT_EQ(controller->lodestraPath(), "/opt/lodestra/more");
    control<QPushButton>("removeLanguageButton")->click();
    ASSERT_TRUE(controller->languageListPopover()->isShown());

    control<QPushButton>("cancelPreferencesButton")->click();

    EXPECT_FALSE(controller->languageListPopover()->isShown());
    EXPECT_FALSE(controller->window()->isVisible());
    EXPECT_EQ(panel().value("lodestraPath"), "/opt/lodestra");
    EXPECT_FALSE(stored().isValid());
    EXPECT_EQ(exclusionsFile(), "<missing>");

    controller->openPreferencesPanel();
    EXPECT_TRUE(controller->window()->isVisible());
    EXPECT_EQ(control<QLineEdit>("lodestraPathField")->text(), "/opt/lodestra");
}

TEST_F(PreferencesPanel, ChoosingACompanionPath) {
    const QString chosen =
        writeFile(path("Apps and More/P\u00E9llimor.desktop"), "[Desktop Entry]");
    controller->openPreferencesPanel();
    const struct {
        const char* button;
        const char* title;
        bool accept;
        QString lodestra;
    } cases[] = {
        {"changeLodestraPathButton", "Find the Path to Lodestra:", true, chosen},
        {"changeLodestraPathButton", "Find the Path to Lodestra:", false, chosen},
        {"changeHarnwickPathButton", "Find the Path to Harnwick:", false, chosen},
    };
    for (const auto& c : cases) {
        control<QPushButton>(c.button)->click();
        auto* dialog = controller->window()->findChild<QFileDialog*>();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), c.title);
        EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
        EXPECT_EQ(dialog->windowModality(), Qt::WindowModal);
        EXPECT_TRUE(dialog->testOption(QFileDialog::DontUseNativeDialog));
        if (c.accept) {
            dialog->selectFile(chosen);
            static_cast<QDialog*>(dialog)->accept();
        } else {
            dialog->reject();
        }
        testsupport::spinUntil(
            [&] { return controller->window()->findChild<QFileDialog*>() == nullptr; });
        EXPECT_EQ(controller->lodestraPath(), c.lodestra);
        EXPECT_EQ(controller->harnwickPath(), "");
        EXPECT_EQ(controller->pellimorPath(), "");
    }
    EXPECT_EQ(control<QLineEdit>("lodestraPathField")->text(), chosen);
}

}  // namespace
