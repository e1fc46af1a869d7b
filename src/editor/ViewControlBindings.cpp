#include "editor/ViewControlBindings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

#include "editor/SCMainViewController.h"

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
