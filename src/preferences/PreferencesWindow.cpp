#include "preferences/PreferencesWindow.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QWindow>
#include <cmath>

#include "platform/PlacingAgainWhenFramed.h"
#include "platform/WindowPlacement.h"
#include "preferences/SCPreferencesController.h"
#include "preferences/SCToolTips.h"
#include "ui_PreferencesPanelSwift.h"

namespace {

using Controller = SCPreferencesController;

// A text field: shows the property, sets it on every keystroke of the user.
void bindText(QLineEdit* field, Controller* controller, void (Controller::*changed)(const QString&),
              void (Controller::*set)(const QString&), const QString& current) {
    field->setText(current);
    QObject::connect(controller, changed, field, [field](const QString& value) {
        if (field->text() != value) field->setText(value);
    });
    QObject::connect(field, &QLineEdit::textEdited, controller, set);
}

// A pop-up over fixed choices: selects the property's entry, or nothing when
// the value is not among them; a choice of the user sets the property.
void bindChoice(QComboBox* box, Controller* controller, void (Controller::*changed)(const QString&),
                void (Controller::*set)(const QString&), const QString& current) {
    const auto select = [box](const QString& value) {
        box->setCurrentIndex(box->findText(value, Qt::MatchExactly | Qt::MatchCaseSensitive));
    };
    select(current);
    QObject::connect(controller, changed, box, select);
    QObject::connect(box, &QComboBox::activated, controller, [box, controller, set](int index) {
        (controller->*set)(box->itemText(index));
    });
}

}  // namespace

PreferencesWindow::PreferencesWindow(Controller* controller)
    : controller_(controller), ui_(std::make_unique<Ui::PreferencesPanelSwift>()) {
    ui_->setupUi(this);
    bindFields();
    bindChoices();
    bindToolTipSwitch();
    connectActions();
    // The index fetch waits in a local loop that takes no input: say so.
    connect(controller_, &Controller::isDownloadingAvailableLangChanged, this, [this](bool busy) {
        if (busy == busyCursor_) return;
        busyCursor_ = busy;
        if (busy)
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QGuiApplication::restoreOverrideCursor();
    });
}

PreferencesWindow::~PreferencesWindow() {
    if (busyCursor_) QGuiApplication::restoreOverrideCursor();
}

QPoint PreferencesWindow::placement(const QRect& keyFrame, const QRect& ownFrame) {
    const double x = keyFrame.x() + (keyFrame.width() - ownFrame.width()) / 2.0;
    return {static_cast<int>(std::floor(x)), keyFrame.y() + 25};
}

void PreferencesWindow::showPlaced(const QWidget* keyWindow) {
    show();
    raise();
    activateWindow();
    const bool first = !placed_;
    if (first) keyFrame_ = keyWindow != nullptr ? keyWindow->frameGeometry() : QRect();
    const QWidget* onScreen = first && keyWindow != nullptr ? keyWindow : this;
    available_ = onScreen->screen()->availableGeometry();
    const QRect frame = frameGeometry();
    // Its frame not known yet: the first placing is done again with it. A
    // later showing leaves the window where the user left it.
    if (first && frame == geometry() && windowHandle() != nullptr)
        platform::PlacingAgainWhenFramed::watch(
            windowHandle(), [this](const QMargins& own) { placeFirst(size().grownBy(own)); });
    if (first)
        placeFirst(frame.size());
    else
        move(platform::WindowPlacement::inside(frame, available_));
    placed_ = true;
}

void PreferencesWindow::placeFirst(const QSize& frame) {
    const QPoint topLeft = keyFrame_.isValid()
                               ? placement(keyFrame_, QRect(QPoint(), frame))
                               : platform::WindowPlacement::centred(frame, available_);
    move(platform::WindowPlacement::inside(QRect(topLeft, frame), available_));
}

void PreferencesWindow::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Cancel)) {
        ui_->cancelPreferencesButton->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void PreferencesWindow::bindFields() {
    bindText(ui_->harnwickPathField, controller_, &Controller::harnwickPathChanged,
             &Controller::setHarnwickPath, controller_->harnwickPath());
    bindText(ui_->lodestraPathField, controller_, &Controller::lodestraPathChanged,
             &Controller::setLodestraPath, controller_->lodestraPath());
    bindText(ui_->pellimorPathField, controller_, &Controller::pellimorPathChanged,
             &Controller::setPellimorPath, controller_->pellimorPath());
    bindText(ui_->tessExclusionField, controller_, &Controller::tessExclusionStringChanged,
             &Controller::setTessExclusionString, controller_->tessExclusionString());
}

void PreferencesWindow::bindChoices() {
    ui_->importEncodingPopUp->addItems(controller_->encodingNamesList());
    ui_->exportEncodingPopUp->addItems(controller_->encodingNamesList());
    bindChoice(ui_->importEncodingPopUp, controller_, &Controller::importEncodingChanged,
               &Controller::setImportEncoding, controller_->importEncoding());
    bindChoice(ui_->exportEncodingPopUp, controller_, &Controller::exportEncodingChanged,
               &Controller::setExportEncoding, controller_->exportEncoding());

    refillLanguages();
    connect(controller_, &Controller::usereTesseractLanguageListChanged, this,
            &PreferencesWindow::refillLanguages);
    bindChoice(ui_->tesseractLanguagePopUp, controller_, &Controller::userTesseractLanguageChanged,
               &Controller::setUserTesseractLanguage, controller_->userTesseractLanguage());
}

void PreferencesWindow::refillLanguages() {
    QComboBox* box = ui_->tesseractLanguagePopUp;
    const QStringList& languages = controller_->usereTesseractLanguageList();
    QStringList shown;
    for (int i = 0; i < box->count(); ++i) shown.append(box->itemText(i));
    if (shown != languages) {
        box->clear();
        box->addItems(languages);
    }
    box->setCurrentIndex(box->findText(controller_->userTesseractLanguage(),
                                       Qt::MatchExactly | Qt::MatchCaseSensitive));
}

void PreferencesWindow::bindToolTipSwitch() {
    QCheckBox* box = ui_->toolTipsCheckBox;
    box->setChecked(controller_->showToolTipsFlag());
    connect(controller_, &Controller::showToolTipsFlagChanged, box, &QCheckBox::setChecked);
    // The property first, then the action that reads it.
    connect(box, &QCheckBox::clicked, controller_, &Controller::setShowToolTipsFlag);
    connect(box, &QCheckBox::clicked, controller_,
            [this, box] { controller_->tooltipsCheckboxClicked(box); });
    if (SCToolTips* tips = controller_->toolTips()) {
        box->setToolTip(tips->ttPrefToolTipsButton());
        connect(tips, &SCToolTips::ttPrefToolTipsButtonChanged, box, &QCheckBox::setToolTip);
    }
}

void PreferencesWindow::connectActions() {
    Controller* c = controller_;
    Ui::PreferencesPanelSwift* ui = ui_.get();
    connect(ui->okPreferencesButton, &QPushButton::clicked, c,
            [c, ui] { c->okPreferencesButton(ui->okPreferencesButton); });
    connect(ui->cancelPreferencesButton, &QPushButton::clicked, c,
            [c, ui] { c->cancelPreferencesButton(ui->cancelPreferencesButton); });
    connect(ui->changeHarnwickPathButton, &QPushButton::clicked, c,
            [c, ui] { c->changeHarnwickPathButton(ui->changeHarnwickPathButton); });
    connect(ui->changeLodestraPathButton, &QPushButton::clicked, c,
            [c, ui] { c->changeLodestraPathButton(ui->changeLodestraPathButton); });
    connect(ui->changePellimorPathButton, &QPushButton::clicked, c,
            [c, ui] { c->changePellimorPathButton(ui->changePellimorPathButton); });
    connect(ui->addLanguageButton, &QPushButton::clicked, c,
            [c, ui] { c->addLanguageButton(ui->addLanguageButton); });
    connect(ui->removeLanguageButton, &QPushButton::clicked, c,
            [c, ui] { c->removeLanguageButton(ui->removeLanguageButton); });
}
