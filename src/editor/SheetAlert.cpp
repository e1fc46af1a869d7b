#include "editor/SheetAlert.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QTimer>
#include <memory>

namespace {

double& timeout() {
    static double seconds = 10.0;
    return seconds;
}

}  // namespace

double SheetAlert::questionTimeout() {
    return timeout();
}

void SheetAlert::setQuestionTimeout(double seconds) {
    timeout() = seconds;
}

QPointer<QMessageBox> SheetAlert::begin(QWidget* window, const QString& message,
                                        const QString& informative, const QStringList& buttons,
                                        std::function<void(Answer)> completion,
                                        double timeoutSeconds) {
    auto* box =
        new QMessageBox(QMessageBox::Warning, QString(), message, QMessageBox::NoButton, window);
    box->setInformativeText(informative);
    box->setWindowModality(Qt::WindowModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QList<QAbstractButton*> added;
    for (int i = 0; i < buttons.size(); ++i)
        added.append(
            box->addButton(buttons[i], i == 0 ? QMessageBox::AcceptRole : QMessageBox::RejectRole));
    if (!added.isEmpty()) box->setDefaultButton(qobject_cast<QPushButton*>(added.first()));
    // Escape ends the sheet as its second button does, when it has one.
    box->setEscapeButton(added.size() > 1 ? added[1] : nullptr);

    auto answered = std::make_shared<bool>(false);
    QObject::connect(box, &QMessageBox::finished, box, [box, added, completion, answered] {
        if (std::exchange(*answered, true)) return;
        const QAbstractButton* clicked = box->clickedButton();
        const Answer answer = clicked && clicked == added.value(0)   ? firstButton
                              : clicked && clicked == added.value(1) ? secondButton
                                                                     : noButton;
        if (completion) completion(answer);
    });
    box->open();
    if (timeoutSeconds > 0.0) {
        // The box is the timer's context: a box already gone, with its
        // window or after an answer, takes its timer with it.
        QPointer<QMessageBox> guarded = box;
        QTimer::singleShot(int(timeoutSeconds * 1000.0), box, [guarded] {
            if (guarded && guarded->isVisible()) guarded->done(noButton);
        });
    }
    return box;
}
