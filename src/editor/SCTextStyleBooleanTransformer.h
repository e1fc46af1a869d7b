#pragma once

#include "platform/ValueTransformer.h"

// A style flag field ("-1" on, "0" off) as a Boolean and back. Anything but
// the exact text "-1" is off; a reverse value that is no Boolean gives "0".
class SCTextStyleBooleanTransformer : public platform::ValueTransformer {
  public:
    QMetaType transformedValueClass() const override;
    bool allowsReverseTransformation() const override { return true; }
    QVariant transformedValue(const QVariant& value) const override;
    QVariant reverseTransformedValue(const QVariant& value) const override;
};
