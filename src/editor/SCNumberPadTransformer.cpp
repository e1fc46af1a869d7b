#include "editor/SCNumberPadTransformer.h"

#include <array>

#include "editor/TransformerValues.h"

namespace {

// Index i of the grid holds the digit kDigitOfIndex[i].
constexpr std::array<char16_t, 9> kDigitOfIndex{u'7', u'8', u'9', u'4', u'5',
                                                u'6', u'1', u'2', u'3'};

}  // namespace

QMetaType SCNumberPadTransformer::transformedValueClass() const {
    return QMetaType::fromType<QString>();
}

QVariant SCNumberPadTransformer::transformedValue(const QVariant& value) const {
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString();
        for (std::size_t i = 0; i < kDigitOfIndex.size(); ++i)
            if (text.size() == 1 && text[0] == QChar(kDigitOfIndex[i])) return QString::number(i);
    }
    return QStringLiteral("7");
}

QVariant SCNumberPadTransformer::reverseTransformedValue(const QVariant& value) const {
    // A number and its decimal text are the same index.
    QString text;
    if (value.typeId() == QMetaType::QString || transformervalues::isNumber(value))
        text = value.toString();
    for (std::size_t i = 0; i < kDigitOfIndex.size(); ++i)
        if (text == QString::number(i)) return QString(QChar(kDigitOfIndex[i]));
    return QStringLiteral("2");
}
