#include "editor/SCViewControllerSRT.h"

#include <QPushButton>

#include "ui_ViewSRT.h"

SCViewControllerSRT::SCViewControllerSRT(QObject* parent) : SCMainViewController(parent) {}

void SCViewControllerSRT::setUpLayout(QWidget* view) {
    Ui::ViewSRT ui;
    ui.setupUi(view);
}

void SCViewControllerSRT::layoutDidLoad() {
    testButton_ = view()->findChild<QPushButton*>(QStringLiteral("testButton"));
}
