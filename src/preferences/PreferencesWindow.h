#pragma once

#include <QRect>
#include <QWidget>
#include <memory>

namespace Ui {
class PreferencesPanelSwift;
}

class SCPreferencesController;

// The preferences window made from its layout, with its controls bound to the
// controller: a control shows its property and follows every change of it,
// and a user's edit (typing, a click, a choice) sets the property. No code
// sets a control's value any other way.
class PreferencesWindow : public QWidget {
    Q_OBJECT

  public:
    ~PreferencesWindow() override;
    explicit PreferencesWindow(SCPreferencesController* controller);

    // Where the window goes over the key window K: centred across it, its top
    // 25 below K's top, in the screen's downward y.
    static QPoint placement(const QRect& keyFrame, const QRect& ownFrame);

    // Shows the window and brings it forward. The first time it goes over the
    // key window (without one, centred on the screen); later it stays where
    // it was left. Either way it is kept inside the screen's available area.
    void showPlaced(const QWidget* keyWindow);

  protected:
    // Escape is Cancel, as in any dialog.
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void bindFields();
    void bindChoices();
    void bindToolTipSwitch();
    void connectActions();
    void refillLanguages();
    // Over the key window found at the first showing, or centred; either way
    // inside the screen's available area. With the frame's size.
    void placeFirst(const QSize& frame);

    SCPreferencesController* controller_;
    bool busyCursor_ = false;
    bool placed_ = false;
    QRect keyFrame_;
    QRect available_;
    std::unique_ptr<Ui::PreferencesPanelSwift> ui_;
};
