#include "editor/ViewControlBindings.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

#include "editor/SCMainViewController.h"

namespace {

const char* const kActionProperty = "action";

}  // namespace

void ViewControlBindings::bind(SCMainViewController& controller, QWidget* view) {
    SCMainViewController* c = &controller;
    using V = SCMainViewController;
    if (auto* popUp = view->findChild<QComboBox*>(QStringLiteral("encodingPopUp"))) {
        popUp->addItems(c->encodingNamesList());
        const auto show = [c, popUp] {
            const QSignalBlocker blocker(popUp);
            popUp->setCurrentIndex(int(c->encodingNamesList().indexOf(c->importEncoding())));
        };
        show();
        QObject::connect(c, &V::importEncodingChanged, popUp, show);
        QObject::connect(popUp, &QComboBox::activated, c,
                         [c, popUp](int index) { c->setImportEncoding(popUp->itemText(index)); });
    }
    if (auto* box = view->findChild<QCheckBox*>(QStringLiteral("spellCheckSwitch"))) {
        box->setChecked(c->shouldSpellCheck());
        QObject::connect(c, &V::shouldSpellCheckChanged, box, [c, box] {
            const QSignalBlocker blocker(box);
            box->setChecked(c->shouldSpellCheck());
        });
        QObject::connect(box, &QCheckBox::clicked, c, &V::setShouldSpellCheck);
    }
    if (auto* popUp = view->findChild<QComboBox*>(QStringLiteral("timeAdjustDirectionPopUp"))) {
        popUp->setCurrentText(c->timeAdjustDirection());
        QObject::connect(c, &V::timeAdjustDirectionChanged, popUp, [c, popUp] {
            const QSignalBlocker blocker(popUp);
            popUp->setCurrentText(c->timeAdjustDirection());
        });
        QObject::connect(popUp, &QComboBox::activated, c, [c, popUp](int index) {
            c->setTimeAdjustDirection(popUp->itemText(index));
        });
    }
    if (auto* field = view->findChild<QLineEdit*>(QStringLiteral("timeFieldSRT"))) {
        const auto show = [c, field] {
            if (field->text() != c->timeAdjustTextSRT()) field->setText(c->timeAdjustTextSRT());
        };
        show();
        QObject::connect(c, &V::timeAdjustTextSRTChanged, field, show);
    }
    if (auto* field = view->findChild<QLineEdit*>(QStringLiteral("timeFieldASS"))) {
        const auto show = [c, field] {
            if (field->text() != c->timeAdjustTextASS()) field->setText(c->timeAdjustTextASS());
        };
        show();
        QObject::connect(c, &V::timeAdjustTextASSChanged, field, show);
    }
}

void ViewControlBindings::connectActions(SCMainViewController& controller, QWidget* view) {
    SCMainViewController* c = &controller;
    const QList<QAbstractButton*> buttons = view->findChildren<QAbstractButton*>();
    for (QAbstractButton* button : buttons) {
        QString selector = button->property(kActionProperty).toString();
        if (!selector.endsWith(u':')) continue;
        selector.chop(1);
        const QByteArray slot = selector.toLatin1();
        if (c->metaObject()->indexOfMethod(slot + "(QObject*)") < 0) continue;
        QObject::connect(button, &QAbstractButton::clicked, c, [c, button, slot] {
            QMetaObject::invokeMethod(c, slot.constData(), Q_ARG(QObject*, button));
        });
    }
}
