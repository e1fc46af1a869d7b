#pragma once

#include <QList>
#include <QObject>

class QAction;
class QMenuBar;
class QWidget;

// The one set of menu commands every window's menu bar shows. Each window
// gets a menu bar of its own filled with these same actions, so a retitled
// action ("Show Tool Tips" / "Hide Tool Tips") reads the same everywhere.
// Titles are the exact texts the delegate dispatches on: "…" is U+2026 and
// no title carries a "&".
class AppActions : public QObject {
    Q_OBJECT

  public:
    explicit AppActions(QObject* parent = nullptr);

    QAction* openAction() const { return open_; }
    QAction* closeAction() const { return close_; }
    QAction* exportAction() const { return export_; }
    QAction* quitAction() const { return quit_; }
    QAction* preferencesAction() const { return preferences_; }
    QAction* toolTipsAction() const { return toolTips_; }
    QAction* onlineGuideAction() const { return onlineGuide_; }
    QAction* onlineTroubleshootingAction() const { return onlineTroubleshooting_; }
    QAction* sendBugReportAction() const { return sendBugReport_; }

    // The items that send their title to the delegate's menu dispatch.
    QList<QAction*> menuItemActions() const;

    // File, Quillmar and Help menus over the shared actions.
    QMenuBar* makeMenuBar(QWidget* parent) const;

  signals:
    void menuItemChosen(QAction* item);
    void closeChosen();
    void quitChosen();

  private:
    QAction* make(const QString& title);

    QAction* open_;
    QAction* close_;
    QAction* export_;
    QAction* quit_;
    QAction* preferences_;
    QAction* toolTips_;
    QAction* onlineGuide_;
    QAction* onlineTroubleshooting_;
    QAction* sendBugReport_;
};
