#pragma once

#include <QColor>

#include "platform/ValueTransformer.h"

// A Boolean as a colour: gray (level 0.5) for true, black for false, for no
// value and for anything that is no Boolean. One way only.
class SCTrueToGrayTransformer : public platform::ValueTransformer {
  public:
    QMetaType transformedValueClass() const override;
    bool allowsReverseTransformation() const override { return false; }
    QVariant transformedValue(const QVariant& value) const override;

    static QColor gray();
    static QColor black();
};
