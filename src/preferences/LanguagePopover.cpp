#include "preferences/LanguagePopover.h"

#include "preferences/LanguageListController.h"
#include "preferences/SCPreferencesController.h"
#include "ui_LanguagePopover.h"

LanguagePopover::LanguagePopover(SCPreferencesController* controller, LanguageListController* list,
                                 QWidget* parent)
    : QFrame(parent, Qt::Popup),
      controller_(controller),
      ui_(std::make_unique<Ui::LanguagePopover>()) {
    ui_->setupUi(this);
    ui_->languageList->setModel(list->model());
    ui_->languageList->setSelectionModel(list->selectionModel());

    ui_->languagePopoverLabel->setText(controller->languagePopoverLabel());
    connect(controller, &SCPreferencesController::languagePopoverLabelChanged,
            ui_->languagePopoverLabel, &QLabel::setText);
    const auto followBusy = [this](bool busy) { mainButton()->setEnabled(!busy); };
    followBusy(controller->isDownloadingLang());
    connect(controller, &SCPreferencesController::isDownloadingLangChanged, this, followBusy);

    connect(ui_->languagePopoverDownloadRemoveButton, &QPushButton::clicked, controller,
            [this] { controller_->languagePopoverMainButton(mainButton()); });
    connect(ui_->languageList, &QListView::doubleClicked, controller,
            [this] { controller_->doubleClick(ui_->languageList); });
    connect(ui_->cancelLanguageDownloadButton, &QPushButton::clicked, controller, [this] {
        controller_->cancelLanguageDownloadButton(ui_->cancelLanguageDownloadButton);
    });
}

LanguagePopover::~LanguagePopover() = default;

QAbstractButton* LanguagePopover::mainButton() const {
    return ui_->languagePopoverDownloadRemoveButton;
}

void LanguagePopover::showUnder(QWidget* anchor) {
    if (anchor != nullptr) {
        const QPoint below = anchor->mapToGlobal(QPoint(anchor->width() / 2, anchor->height()));
        move(below.x() - width() / 2, below.y());
    }
    show();
    raise();
    ui_->languageList->setFocus();
}
