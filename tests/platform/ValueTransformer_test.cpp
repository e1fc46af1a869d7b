#include "platform/ValueTransformer.h"

#include <gtest/gtest.h>

using platform::ValueTransformer;

namespace {

class Doubling : public ValueTransformer {
  public:
    explicit Doubling(int factor = 2) : factor_(factor) {}
    QMetaType transformedValueClass() const override { return QMetaType::fromType<int>(); }
    bool allowsReverseTransformation() const override { return false; }
    QVariant transformedValue(const QVariant& value) const override {
        return value.toInt() * factor_;
    }

  private:
    int factor_;
};

}  // namespace

TEST(ValueTransformer, RegistersByNameInOrderReplacesInPlaceAndRemoves) {
    ValueTransformer::setValueTransformer(std::make_shared<Doubling>(2), "first");
    ValueTransformer::setValueTransformer(std::make_shared<Doubling>(3), "second");
    ValueTransformer::setValueTransformer(std::make_shared<Doubling>(4), "first");
    EXPECT_EQ(ValueTransformer::valueTransformerNames(), QStringList({"first", "second"}));
    EXPECT_EQ(ValueTransformer::valueTransformerForName("first")->transformedValue(5), 20);
    EXPECT_EQ(ValueTransformer::valueTransformerForName("missing"), nullptr);

    ValueTransformer::setValueTransformer(nullptr, "first");
    EXPECT_EQ(ValueTransformer::valueTransformerNames(), QStringList({"second"}));
    EXPECT_EQ(ValueTransformer::valueTransformerForName("first"), nullptr);
    // Without a reverse the value comes back as given.
    EXPECT_EQ(ValueTransformer::valueTransformerForName("second")->reverseTransformedValue(7), 7);
    ValueTransformer::setValueTransformer(nullptr, "second");
}
