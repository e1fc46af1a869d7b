#include "editor/SCTextStyleBooleanTransformer.h"

#include "editor/TransformerValues.h"

QMetaType SCTextStyleBooleanTransformer::transformedValueClass() const {
    return QMetaType::fromType<bool>();
}

QVariant SCTextStyleBooleanTransformer::transformedValue(const QVariant& value) const {
    return value.typeId() == QMetaType::QString && value.toString() == u"-1";
}

QVariant SCTextStyleBooleanTransformer::reverseTransformedValue(const QVariant& value) const {
    return transformervalues::booleanOf(value).value_or(false) ? QStringLiteral("-1")
                                                               : QStringLiteral("0");
}
