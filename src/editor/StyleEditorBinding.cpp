#include "editor/StyleEditorBinding.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QValidator>

#include "editor/SCNumberPadTransformer.h"
#include "editor/SCTextStyleBooleanTransformer.h"
#include "editor/SystemBeep.h"
#include "formatting/SCStyle.h"
#include "platform/RGBAColor.h"

namespace {

// The registered transformer, or one of the same class when none is.
template <typename Transformer>
std::shared_ptr<const platform::ValueTransformer> transformer(const char* name) {
    if (auto registered = platform::ValueTransformer::valueTransformerForName(name))
        return registered;
    static const auto fallback = std::make_shared<const Transformer>();
    return fallback;
}

// A style's text fields are written between commas, and the line has no
// escape for one: a typed or pasted comma is refused with the beep.
class NoCommaValidator : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        if (!input.contains(u',')) return Acceptable;
        SystemBeep::beep();
        return Invalid;
    }
};

const char* const kStyleKey = "styleKey";
const char* const kColorKey = "colorKey";

}  // namespace

StyleEditorBinding::StyleEditorBinding(QWidget* view, const QStringList& fonts) : view_(view) {
    font_ = view->findChild<QComboBox*>(QStringLiteral("fontPopUp"));
    size_ = view->findChild<QDoubleSpinBox*>(QStringLiteral("fontSizeField"));
    outline_ = view->findChild<QDoubleSpinBox*>(QStringLiteral("outlineField"));
    shadow_ = view->findChild<QDoubleSpinBox*>(QStringLiteral("shadowField"));
    for (QCheckBox* box : view->findChildren<QCheckBox*>())
        if (box->property(kStyleKey).isValid()) flags_.append(box);
    for (int i = 0; i < 9; ++i)
        cells_.append(view->findChild<QAbstractButton*>(QStringLiteral("alignmentCell%1").arg(i)));
    for (QPushButton* well : view->findChildren<QPushButton*>())
        if (well->property(kColorKey).isValid()) wells_.append(well);

    if (font_) {
        font_->setEditable(true);
        font_->setInsertPolicy(QComboBox::NoInsert);
        font_->setValidator(new NoCommaValidator(font_));
        font_->addItems(fonts);
        connect(font_, &QComboBox::textActivated, this, [this](const QString& name) {
            if (style_ && !refreshing_) style_->setFontname(name);
        });
        connect(font_->lineEdit(), &QLineEdit::editingFinished, this, [this] {
            if (style_ && !refreshing_ && font_->currentText() != style_->Fontname())
                style_->setFontname(font_->currentText());
        });
    }
    const std::pair<QDoubleSpinBox*, void (SCStyle::*)(double)> numbers[] = {
        {size_, &SCStyle::setFontsize},
        {outline_, &SCStyle::setOutline},
        {shadow_, &SCStyle::setShadow}};
    for (const auto& [field, setter] : numbers) {
        if (!field) continue;
        connect(field, &QDoubleSpinBox::valueChanged, this, [this, setter = setter](double value) {
            if (style_ && !refreshing_) (style_.get()->*setter)(value);
        });
    }
    for (const auto& box : flags_) {
        connect(box, &QCheckBox::clicked, this, [this, box = box.data()](bool on) {
            if (!style_) return;
            const auto flag =
                transformer<SCTextStyleBooleanTransformer>("SCTextStyleBooleanTransformer");
            style_->setValueForKey(box->property(kStyleKey).toString(),
                                   flag->reverseTransformedValue(on));
        });
    }
    for (int i = 0; i < cells_.size(); ++i) {
        if (!cells_[i]) continue;
        connect(cells_[i], &QAbstractButton::clicked, this, [this, i] {
            if (!style_) return;
            const auto pad = transformer<SCNumberPadTransformer>("SCNumberPadTransformer");
            style_->setAlignment(pad->reverseTransformedValue(i).toString());
        });
    }
    for (const auto& well : wells_)
        connect(well, &QPushButton::clicked, this,
                [this, well = well.data()] { chooseColour(well); });
    refresh();
}

StyleEditorBinding::~StyleEditorBinding() = default;

void StyleEditorBinding::setStyle(std::shared_ptr<SCStyle> style) {
    if (style_) style_->disconnect(this);
    style_ = std::move(style);
    if (style_) {
        for (auto signal :
             {&SCStyle::FontnameChanged, &SCStyle::FontsizeChanged, &SCStyle::BoldChanged,
              &SCStyle::ItalicChanged, &SCStyle::UnderlineChanged, &SCStyle::StrikeOutChanged,
              &SCStyle::AlignmentChanged, &SCStyle::OutlineChanged, &SCStyle::ShadowChanged,
              &SCStyle::primaryColorNSColorChanged, &SCStyle::secondaryColorNSColorChanged,
              &SCStyle::outlineColorNSColorChanged, &SCStyle::backColorNSColorChanged})
            connect(style_.get(), signal, this, &StyleEditorBinding::refresh);
    }
    refresh();
}

void StyleEditorBinding::refresh() {
    refreshing_ = true;
    const bool on = style_ != nullptr;
    if (font_) {
        font_->setEnabled(on);
        font_->setCurrentText(on ? style_->Fontname() : QString());
    }
    const std::pair<QDoubleSpinBox*, double> numbers[] = {{size_, on ? style_->Fontsize() : 0.0},
                                                          {outline_, on ? style_->Outline() : 0.0},
                                                          {shadow_, on ? style_->Shadow() : 0.0}};
    for (const auto& [field, value] : numbers) {
        if (!field) continue;
        field->setEnabled(on);
        field->setValue(value);
    }
    const auto flag = transformer<SCTextStyleBooleanTransformer>("SCTextStyleBooleanTransformer");
    for (const auto& box : flags_) {
        box->setEnabled(on);
        box->setChecked(
            on && flag->transformedValue(style_->valueForKey(box->property(kStyleKey).toString()))
                      .toBool());
    }
    const auto pad = transformer<SCNumberPadTransformer>("SCNumberPadTransformer");
    const int cell = on ? pad->transformedValue(style_->Alignment()).toInt() : -1;
    for (int i = 0; i < cells_.size(); ++i) {
        if (!cells_[i]) continue;
        cells_[i]->setEnabled(on);
        cells_[i]->setChecked(i == cell);
    }
    for (const auto& well : wells_) {
        well->setEnabled(on);
        QPixmap swatch(14, 14);
        const auto colour =
            on ? style_->property(well->property(kColorKey).toByteArray().constData())
                     .value<platform::RGBAColor>()
               : platform::RGBAColor{};
        swatch.fill(on ? colour.toQColor() : QColor(Qt::transparent));
        well->setIcon(QIcon(swatch));
    }
    refreshing_ = false;
}

void StyleEditorBinding::chooseColour(QPushButton* well) {
    if (!style_) return;
    const QByteArray key = well->property(kColorKey).toByteArray();
    const QColor current =
        style_->property(key.constData()).value<platform::RGBAColor>().toQColor();
    auto* dialog = new QColorDialog(current, view_ ? view_->window() : nullptr);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // The colour goes to the style that was selected when the dialog opened.
    std::weak_ptr<SCStyle> target = style_;
    connect(dialog, &QColorDialog::colorSelected, this, [target, key](const QColor& colour) {
        if (auto style = target.lock())
            style->setProperty(key.constData(),
                               QVariant::fromValue(platform::RGBAColor::fromQColor(colour)));
    });
    dialog->open();
}
