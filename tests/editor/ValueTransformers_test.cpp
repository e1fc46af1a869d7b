#include <gtest/gtest.h>

#include <QColor>

#include "editor/EditorValueTransformers.h"
#include "editor/QtPrinters.h"
#include "editor/SCNumberPadTransformer.h"
#include "editor/SCTextStyleBooleanTransformer.h"
#include "editor/SCTrueToGrayTransformer.h"

using platform::ValueTransformer;

namespace {

struct Case {
    QVariant in;
    QVariant out;
};

void expectAll(const std::vector<Case>& cases, const std::function<QVariant(QVariant)>& f) {
    for (const Case& c : cases) {
        const QVariant got = f(c.in);
        EXPECT_EQ(got.typeId(), c.out.typeId()) << c.in.toString().toStdString();
        EXPECT_EQ(got, c.out) << "in: " << c.in.toString().toStdString();
    }
}

}  // namespace

TEST(ValueTransformers, TextStyleBooleanOnlyMinusOneIsOn) {
    SCTextStyleBooleanTransformer t;
    EXPECT_TRUE(t.allowsReverseTransformation());
    EXPECT_EQ(t.transformedValueClass(), QMetaType::fromType<bool>());
    expectAll({{QString("-1"), true},
               {QString("0"), false},
               {QString("1"), false},
               {QString(""), false},
               {QString("-1 "), false},
               {QVariant(), false},
               {-1, false}},
              [&](const QVariant& v) { return t.transformedValue(v); });
    expectAll({{true, QString("-1")},
               {false, QString("0")},
               {1, QString("-1")},
               {0, QString("0")},
               {QVariant(), QString("0")},
               {QString("true"), QString("0")}},
              [&](const QVariant& v) { return t.reverseTransformedValue(v); });
    // Forward then back: "-1" stays, everything else becomes "0".
    for (const char* flag : {"-1", "1", "", "0"})
        EXPECT_EQ(t.reverseTransformedValue(t.transformedValue(QString(flag))),
                  QString(flag) == "-1" ? QString("-1") : QString("0"));
}

TEST(ValueTransformers, NumberPadMapsKeypadDigitsToGridCellsAndBack) {
    SCNumberPadTransformer t;
    EXPECT_EQ(t.transformedValueClass(), QMetaType::fromType<QString>());
    const char* forward[][2] = {{"1", "6"},  {"2", "7"}, {"3", "8"}, {"4", "3"}, {"5", "4"},
                                {"6", "5"},  {"7", "0"}, {"8", "1"}, {"9", "2"}, {"0", "7"},
                                {"10", "7"}, {"", "7"},  {" 5", "7"}};
    for (const auto& [in, out] : forward)
        EXPECT_EQ(t.transformedValue(QString(in)), QString(out)) << in;
    EXPECT_EQ(t.transformedValue(QVariant()), QString("7"));
    EXPECT_EQ(t.transformedValue(5), QString("7"));

    const char* reverse[][2] = {{"0", "7"}, {"1", "8"}, {"2", "9"},  {"3", "4"},
                                {"4", "5"}, {"5", "6"}, {"6", "1"},  {"7", "2"},
                                {"8", "3"}, {"9", "2"}, {"-1", "2"}, {"", "2"}};
    for (const auto& [in, out] : reverse)
        EXPECT_EQ(t.reverseTransformedValue(QString(in)), QString(out)) << in;
    EXPECT_EQ(t.reverseTransformedValue(8), QString("3"));
    EXPECT_EQ(t.reverseTransformedValue(QVariant()), QString("2"));
    EXPECT_EQ(t.reverseTransformedValue(true), QString("2"));
    for (int digit = 1; digit <= 9; ++digit)
        EXPECT_EQ(t.reverseTransformedValue(t.transformedValue(QString::number(digit))),
                  QString::number(digit));
}

TEST(ValueTransformers, TrueToGrayIsHalfGrayForTrueAndBlackOtherwise) {
    SCTrueToGrayTransformer t;
    EXPECT_FALSE(t.allowsReverseTransformation());
    EXPECT_EQ(t.transformedValueClass(), QMetaType::fromType<QColor>());
    const QColor gray = QColor::fromRgbF(0.5f, 0.5f, 0.5f);
    EXPECT_NE(gray, QColor(Qt::gray));
    expectAll({{true, gray},
               {false, QColor(Qt::black)},
               {QVariant(), QColor(Qt::black)},
               {1, gray},
               {QString("true"), QColor(Qt::black)}},
              [&](const QVariant& v) { return t.transformedValue(v); });
}

TEST(ValueTransformers, RegisteredUnderTheirClassNamesInOrder) {
    registerEditorValueTransformers();
    const QStringList names = ValueTransformer::valueTransformerNames();
    const QStringList expected{"SCTextStyleBooleanTransformer", "SCNumberPadTransformer",
                               "SCTrueToGrayTransformer"};
    EXPECT_EQ(names.mid(names.indexOf(expected.first()), 3), expected);
    EXPECT_NE(dynamic_cast<const SCNumberPadTransformer*>(
                  ValueTransformer::valueTransformerForName("SCNumberPadTransformer").get()),
              nullptr);
    EXPECT_EQ(ValueTransformer::valueTransformerForName("SCTrueToGrayTransformer")
                  ->transformedValue(true),
              QColor::fromRgbF(0.5f, 0.5f, 0.5f));
}
