#pragma once

#include <QString>
#include <QVariant>
#include <ostream>

// Readable failure messages for Qt values.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QVariant& value, std::ostream* out) {
    *out << value.typeName() << "(" << value.toString().toStdString() << ")";
}
QT_END_NAMESPACE
