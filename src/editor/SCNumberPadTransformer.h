#pragma once

#include "platform/ValueTransformer.h"

// An alignment digit in numeric-keypad order ("7" "8" "9" top row, "1" "2"
// "3" bottom row) as the index of a cell of a 3 x 3 grid counted from the
// top left, and back. Both directions fall back to the bottom centre: "7"
// forward, "2" in reverse.
class SCNumberPadTransformer : public platform::ValueTransformer {
  public:
    QMetaType transformedValueClass() const override;
    bool allowsReverseTransformation() const override { return true; }
    QVariant transformedValue(const QVariant& value) const override;
    QVariant reverseTransformedValue(const QVariant& value) const override;
};
