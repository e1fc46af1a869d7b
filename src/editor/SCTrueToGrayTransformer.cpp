#include "editor/SCTrueToGrayTransformer.h"

#include <QColor>

#include "editor/TransformerValues.h"

QMetaType SCTrueToGrayTransformer::transformedValueClass() const {
    return QMetaType::fromType<QColor>();
}

QVariant SCTrueToGrayTransformer::transformedValue(const QVariant& value) const {
    return transformervalues::booleanOf(value).value_or(false) ? gray() : black();
}

QColor SCTrueToGrayTransformer::gray() {
    // Qt::gray is 160/255; the gray meant here is level 0.5.
    return QColor::fromRgbF(0.5f, 0.5f, 0.5f);
}

QColor SCTrueToGrayTransformer::black() {
    return QColor::fromRgbF(0.0f, 0.0f, 0.0f);
}
