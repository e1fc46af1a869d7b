#include "app/Sheets.h"

#include <QMessageBox>
#include <QPushButton>

namespace Sheets {

namespace {

QMessageBox* makeBox(QWidget* window, const QString& message, const QString& informative) {
    auto* box = new QMessageBox(window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setIcon(QMessageBox::Warning);
    box->setText(message);
    box->setInformativeText(informative);
    box->setWindowModality(window != nullptr ? Qt::WindowModal : Qt::ApplicationModal);
    return box;
}

}  // namespace

QMessageBox* showWarning(QWidget* window, const QString& message, const QString& informative,
                         std::function<void()> ended) {
    QMessageBox* box = makeBox(window, message, informative);
    QPushButton* ok = box->addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box->setDefaultButton(ok);
    QObject::connect(box, &QMessageBox::finished, box, [ended = std::move(ended)](int) {
        if (ended) ended();
    });
    box->open();
    return box;
}

QMessageBox* askOnWindow(QWidget* window, const QString& message, const QString& informative,
                         std::function<void(bool ok)> answered) {
    QMessageBox* box = makeBox(window, message, informative);
    QPushButton* ok = box->addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box->addButton(QStringLiteral("Cancel"), QMessageBox::RejectRole);
    box->setDefaultButton(ok);
    QObject::connect(
        box, &QMessageBox::finished, box,
        [box, ok, answered = std::move(answered)](int) { answered(box->clickedButton() == ok); });
    box->open();
    return box;
}

bool askApplicationModal(const QString& message, const QString& informative) {
    QMessageBox box;
    box.setIcon(QMessageBox::Warning);
    box.setText(message);
    box.setInformativeText(informative);
    box.setWindowModality(Qt::ApplicationModal);
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.addButton(QStringLiteral("Cancel"), QMessageBox::RejectRole);
    box.setDefaultButton(ok);
    box.exec();
    return box.clickedButton() == ok;
}

}  // namespace Sheets
