#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <memory>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QPushButton;
class QWidget;
class SCStyle;

// Ties the ASS view's style controls to one style: the font pop-up (the
// installed families), size, the four flags through
// "SCTextStyleBooleanTransformer", the alignment grid through
// "SCNumberPadTransformer", the four colour buttons on the colour mirrors
// (a colour dialog that does not block) and Outline and Shadow. The
// controls follow the style's changes; with no style they are disabled.
class StyleEditorBinding : public QObject {
    Q_OBJECT

  public:
    StyleEditorBinding(QWidget* view, const QStringList& fonts);
    ~StyleEditorBinding() override;

    void setStyle(std::shared_ptr<SCStyle> style);
    const std::shared_ptr<SCStyle>& style() const { return style_; }

  private:
    void refresh();
    void chooseColour(QPushButton* well);

    QPointer<QWidget> view_;
    QPointer<QComboBox> font_;
    QPointer<QDoubleSpinBox> size_;
    QPointer<QDoubleSpinBox> outline_;
    QPointer<QDoubleSpinBox> shadow_;
    QList<QPointer<QCheckBox>> flags_;
    QList<QPointer<QAbstractButton>> cells_;
    QList<QPointer<QPushButton>> wells_;
    std::shared_ptr<SCStyle> style_;
    bool refreshing_ = false;
};
