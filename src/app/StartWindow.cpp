#include "app/StartWindow.h"

#include <QAction>
#include <QCloseEvent>

#include "app/AppActions.h"
#include "ui_StartWindow.h"

StartWindow::StartWindow(const AppActions& actions, QWidget* parent)
    : QMainWindow(parent), ui_(std::make_unique<Ui::StartWindow>()) {
    ui_->setupUi(this);
    setMenuBar(actions.makeMenuBar(this));
    connect(ui_->openButton, &QPushButton::clicked, actions.openAction(), &QAction::trigger);
}

StartWindow::~StartWindow() = default;

QWidget* StartWindow::openButton() const {
    return ui_->openButton;
}

// The program only hides this window; every close comes from the user.
void StartWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    emit closedByUser();
}
