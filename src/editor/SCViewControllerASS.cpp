#include "editor/SCViewControllerASS.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QSignalBlocker>

#include "editor/StyleEditorBinding.h"
#include "editor/SubtitleStylesTableModel.h"
#include "formatting/SCStyle.h"
#include "ui_ViewASS.h"

SCViewControllerASS::SCViewControllerASS(QObject* parent)
    : SCMainViewController(parent), availableFontsList_(QFontDatabase::families()) {}

SCViewControllerASS::~SCViewControllerASS() = default;

void SCViewControllerASS::setUpLayout(QWidget* view) {
    Ui::ViewASS ui;
    ui.setupUi(view);
}

void SCViewControllerASS::layoutDidLoad() {
    styleEditor_ = std::make_unique<StyleEditorBinding>(view(), availableFontsList_);
    bindLineStylePopUp();
    selectedStyleDidChange();
}

void SCViewControllerASS::selectedStyleDidChange() {
    if (!styleEditor_) return;
    const SCStyleList selected = stylesTableController()->selectedObjects();
    styleEditor_->setStyle(selected.isEmpty() ? nullptr : selected.first());
}

void SCViewControllerASS::bindLineStylePopUp() {
    // The style names offered for the selected line, which the pop-up sets.
    auto* popUp = view()->findChild<QComboBox*>(QStringLiteral("lineStylePopUp"));
    if (!popUp) return;
    const auto show = [this, popUp] {
        const QSignalBlocker blocker(popUp);
        popUp->clear();
        popUp->addItems(subtitleStylesNamesList());
        const SCSubtitleLineList lines = selectedLines();
        popUp->setCurrentIndex(lines.isEmpty() ? -1 : popUp->findText(lines.first()->Style()));
        popUp->setEnabled(lines.size() == 1);
    };
    show();
    connect(this, &SCMainViewController::subtitleStylesNamesListChanged, popUp, show);
    connect(this, &SCMainViewController::dialogTextChanged, popUp, show);
    connect(popUp, &QComboBox::activated, this, [this, popUp](int index) {
        const SCSubtitleLineList lines = selectedLines();
        if (lines.size() == 1) lines.first()->setStyle(popUp->itemText(index));
    });
}

void SCViewControllerASS::assTestButton(QObject*) {}

void SCViewControllerASS::resetColorsButton(QObject*) {
    const SCStyleList selected = stylesTableController()->selectedObjects();
    if (!selected.isEmpty()) selected.first()->resetStyleColorsToOriginal();
}

void SCViewControllerASS::resetFontButton(QObject*) {
    const SCStyleList selected = stylesTableController()->selectedObjects();
    if (!selected.isEmpty()) selected.first()->resetFontsToOriginal();
}
