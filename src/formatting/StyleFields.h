#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

class SCStyle;

// By-name access to a style. The fields that are Q_PROPERTYs are found in the
// meta-object, so each is named once, in its declaration; what a written
// value must look like follows from the property's type. A short list holds
// the names that are no property: the snapshot and the computed texts. Any
// other name, QObject's own included, is refused.
class StyleFields {
  public:
    static QVariant value(const SCStyle& style, const QString& key);
    static bool setValue(SCStyle& style, const QString& key, const QVariant& value);

    // Every name a style answers to: its properties in declaration order,
    // then the computed ones.
    static const QStringList& names();
};
