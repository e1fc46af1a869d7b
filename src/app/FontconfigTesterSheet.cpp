#include "app/FontconfigTesterSheet.h"

#include <QDialog>

#include "ui_FontconfigTester.h"

FontconfigTesterSheet::FontconfigTesterSheet(QWidget* window) : window_(window) {}

FontconfigTesterSheet::~FontconfigTesterSheet() {
    end();
}

void FontconfigTesterSheet::begin() {
    if (!window_ || dialog_) return;
    auto* dialog = new QDialog(window_);
    Ui::FontconfigTester ui;
    ui.setupUi(dialog);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    // Only the end of the test closes it.
    dialog->setWindowFlag(Qt::WindowCloseButtonHint, false);
    dialog_ = dialog;
    dialog->open();
}

void FontconfigTesterSheet::end() {
    if (dialog_) dialog_->close();
    dialog_ = nullptr;
}
