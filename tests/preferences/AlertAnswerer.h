#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTimer>

// Answers every application-modal message box that comes up with its first
// button, and keeps what it showed.
class AlertAnswerer : public QObject {
  public:
    struct Seen {
        QString text;
        QString informativeText;
        QMessageBox::Icon icon;
        Qt::WindowModality modality;
        QStringList buttons;
        QWidget* parent;
    };

    AlertAnswerer() {
        connect(&timer_, &QTimer::timeout, this, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr || !box->isVisible()) return;
            QStringList buttons;
            for (QAbstractButton* button : box->buttons()) buttons.append(button->text());
            seen.append({box->text(), box->informativeText(), box->icon(), box->windowModality(),
                         buttons, box->parentWidget()});
            box->buttons().first()->click();
        });
        timer_.start(20);
    }

    QList<Seen> seen;

  private:
    QTimer timer_;
};
