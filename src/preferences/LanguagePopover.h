#pragma once

#include <QAbstractButton>
#include <QFrame>
#include <memory>

namespace Ui {
class LanguagePopover;
}

class LanguageListController;
class SCPreferencesController;

// The popover that offers languages to download or remove: an instruction,
// the list of languages (any number chosen), the main button and Cancel. It
// closes when the user clicks elsewhere. While a download runs its main
// button is disabled and a double click does nothing.
class LanguagePopover : public QFrame {
    Q_OBJECT

  public:
    ~LanguagePopover() override;
    LanguagePopover(SCPreferencesController* controller, LanguageListController* list,
                    QWidget* parent);

    QAbstractButton* mainButton() const;
    bool isShown() const { return isVisible(); }

    // Shows the popover below the anchor, centred across it.
    void showUnder(QWidget* anchor);

  private:
    SCPreferencesController* controller_;
    std::unique_ptr<Ui::LanguagePopover> ui_;
};
