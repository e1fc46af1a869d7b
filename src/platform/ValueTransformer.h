#pragma once

#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

namespace platform {

// Converts a stored value into the value a control shows and, where allowed,
// back. Values are QVariants; an invalid QVariant stands for "no value".
// Transformers are registered by name at start-up, before any window opens,
// and layouts look them up by that name.
class ValueTransformer {
  public:
    virtual ~ValueTransformer() = default;

    // The type of what transformedValue gives.
    virtual QMetaType transformedValueClass() const = 0;
    virtual bool allowsReverseTransformation() const = 0;
    virtual QVariant transformedValue(const QVariant& value) const = 0;
    // Gives the value unchanged unless the transformer allows the reverse.
    virtual QVariant reverseTransformedValue(const QVariant& value) const { return value; }

    // Registers (or replaces) the transformer under the name; a null
    // transformer removes the name. Safe from any thread.
    static void setValueTransformer(std::shared_ptr<const ValueTransformer> transformer,
                                    const QString& forName);
    // Null when nothing is registered under the name.
    static std::shared_ptr<const ValueTransformer> valueTransformerForName(const QString& name);
    // The registered names, in the order they were first registered.
    static QStringList valueTransformerNames();
};

}  // namespace platform
