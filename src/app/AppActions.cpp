#include "app/AppActions.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

AppActions::AppActions(QObject* parent) : QObject(parent) {
    open_ = make(QStringLiteral("Open…"));
    open_->setShortcut(QKeySequence::Open);
    close_ = make(QStringLiteral("Close"));
    close_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    export_ = make(QStringLiteral("Export…"));
    quit_ = make(QStringLiteral("Quit"));
    quit_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    quit_->setMenuRole(QAction::QuitRole);
    preferences_ = make(QStringLiteral("Preferences…"));
    preferences_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma));
    preferences_->setMenuRole(QAction::PreferencesRole);
    toolTips_ = make(QStringLiteral("Show Tool Tips"));
    onlineGuide_ = make(QStringLiteral("Online Guide"));
    onlineTroubleshooting_ = make(QStringLiteral("Online Troubleshooting"));
    sendBugReport_ = make(QStringLiteral("Send Bug Report"));

    for (QAction* action : menuItemActions())
        connect(action, &QAction::triggered, this, [this, action] { emit menuItemChosen(action); });
    connect(close_, &QAction::triggered, this, &AppActions::closeChosen);
    connect(quit_, &QAction::triggered, this, &AppActions::quitChosen);
}

QAction* AppActions::make(const QString& title) {
    auto* action = new QAction(title, this);
    // The title is dispatched on exactly; keep the desktop from adding
    // accelerator marks to it.
    action->setIconVisibleInMenu(false);
    return action;
}

QList<QAction*> AppActions::menuItemActions() const {
    return {open_,         export_, preferences_, toolTips_, onlineGuide_, onlineTroubleshooting_,
            sendBugReport_};
}

QMenuBar* AppActions::makeMenuBar(QWidget* parent) const {
    auto* bar = new QMenuBar(parent);
    QMenu* file = bar->addMenu(QStringLiteral("File"));
    file->addAction(open_);
    file->addAction(export_);
    file->addSeparator();
    file->addAction(close_);
    file->addAction(quit_);
    QMenu* application = bar->addMenu(QStringLiteral("Quillmar"));
    application->addAction(preferences_);
    application->addAction(toolTips_);
    QMenu* help = bar->addMenu(QStringLiteral("Help"));
    help->addAction(onlineGuide_);
    help->addAction(onlineTroubleshooting_);
    help->addSeparator();
    help->addAction(sendBugReport_);
    return bar;
}
