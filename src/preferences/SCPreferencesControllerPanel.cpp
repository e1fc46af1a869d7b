// The window's own actions: opening, OK and Cancel, the companion path
// choosers and the tool-tip switch.
#include <QFileDialog>
#include <QFileInfo>

#include "preferences/ExclusionsFile.h"
#include "preferences/LanguagePopover.h"
#include "preferences/PreferencesWindow.h"
#include "preferences/SCPreferencesController.h"
#include "preferences/SCToolTips.h"
#include "tools/SCPreferences.h"

namespace {

// Ends any editing in the window (a field being typed in has already passed
// its text on) and gives the focus to the window itself, so that no control
// holds it, also once the window manager has activated the window.
void clearFocus(QWidget* window) {
    if (QWidget* focused = window->focusWidget()) focused->clearFocus();
    window->setFocus(Qt::OtherFocusReason);
}

}  // namespace

void SCPreferencesController::openPreferencesPanel() {
    // Read before the window shows, which makes it the active window.
    QWidget* keyWindow = keyWindowQuery_ ? keyWindowQuery_() : nullptr;
    PreferencesWindow* panel = window();
    panel->showPlaced(keyWindow);

    loadPropertiesFromPreferences();
    updateTesseractLanguageList();
    const auto dictionary = appPreferences()->preferencePanelDictionary();
    const QVariant language =
        dictionary ? dictionary->value(QStringLiteral("userTesseractLanguage")) : QVariant();
    if (language.metaType().id() == QMetaType::QString)
        setUserTesseractLanguage(language.toString());
    setTessExclusionString(ExclusionsFile::read(ExclusionsFile::location(*appPreferences())));
    clearFocus(panel);
}

void SCPreferencesController::okPreferencesButton(QObject*) {
    PreferencesWindow* panel = window();
    clearFocus(panel);
    if (!ExclusionsFile::write(ExclusionsFile::location(*appPreferences()), tessExclusionString_))
        return;
    panel->close();
    savePropertiesToPreferences();
}

void SCPreferencesController::cancelPreferencesButton(QObject*) {
    closePopoverIfShown();
    PreferencesWindow* panel = window();
    clearFocus(panel);
    panel->close();
}

void SCPreferencesController::changeHarnwickPathButton(QObject*) {
    choosePath(QStringLiteral("Find the Path to Harnwick:"),
               &SCPreferencesController::setHarnwickPath);
}

void SCPreferencesController::changeLodestraPathButton(QObject*) {
    choosePath(QStringLiteral("Find the Path to Lodestra:"),
               &SCPreferencesController::setLodestraPath);
}

void SCPreferencesController::changePellimorPathButton(QObject*) {
    choosePath(QStringLiteral("Find the Path to Pellimor:"),
               &SCPreferencesController::setPellimorPath);
}

void SCPreferencesController::choosePath(const QString& title,
                                         void (SCPreferencesController::*setter)(const QString&)) {
    PreferencesWindow* panel = window();
    // Qt's own dialog: it runs as a sheet of the window, the same everywhere.
    auto* dialog = new QFileDialog(panel, title);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QFileDialog::finished, this, [this, dialog, panel, setter](int result) {
        const QStringList chosen = dialog->selectedFiles();
        if (result == QDialog::Accepted && !chosen.isEmpty())
            (this->*setter)(QFileInfo(chosen.first()).absoluteFilePath());
        panel->raise();
        panel->activateWindow();
    });
    dialog->open();
}

void SCPreferencesController::tooltipsCheckboxClicked(QObject*) {
    const bool flag = showToolTipsFlag_;
    const auto preferences = appPreferences();
    preferences->modifyPreferencePanelDictionary([flag](std::optional<QVariantMap>& dictionary) {
        if (dictionary) dictionary->insert(QStringLiteral("showToolTipsFlag"), flag);
    });
    preferences->setToolTipsMenuItemTitle(showToolTipsFlag_ ? QStringLiteral("Hide Tool Tips")
                                                            : QStringLiteral("Show Tool Tips"));
    if (SCToolTips* tips = toolTips()) tips->modifyToolTips();
}

void SCPreferencesController::closePopoverIfShown() {
    if (languageListPopover_ && languageListPopover_->isShown()) languageListPopover_->close();
}
