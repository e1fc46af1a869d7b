#include "formatting/StyleFields.h"

#include <QHash>
#include <QMetaProperty>

#include "formatting/SCStyle.h"
#include "formatting/StyleValueText.h"

namespace {

// Names that are no property of the class.
struct Computed {
    const char* name;
    QVariant (*get)(const SCStyle&);
    bool (*set)(SCStyle&, const QVariant&);  // null: read-only
};

const Computed kComputed[] = {
    {"assStyleDictionary", [](const SCStyle& s) -> QVariant { return s.assStyleDictionary(); },
     [](SCStyle& s, const QVariant& v) {
         if (v.metaType() != QMetaType::fromType<QVariantMap>()) return false;
         s.setAssStyleDictionary(v.toMap());
         return true;
     }},
    {"assOrderedStyleKeys",
     [](const SCStyle&) -> QVariant { return SCStyle::assOrderedStyleKeys(); }, nullptr},
    {"assStyleFormatString",
     [](const SCStyle&) -> QVariant { return SCStyle::assStyleFormatString(); }, nullptr},
    {"assStyleString", [](const SCStyle& s) -> QVariant { return s.assStyleString(); }, nullptr},
};

// A property of SCStyle itself (not of QObject), or of the computed list.
struct Field {
    int property = -1;
    const Computed* computed = nullptr;
};

const QHash<QString, Field>& fields() {
    static const QHash<QString, Field> table = [] {
        QHash<QString, Field> t;
        const QMetaObject& meta = SCStyle::staticMetaObject;
        for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i)
            t.insert(QString::fromLatin1(meta.property(i).name()), Field{i, nullptr});
        for (const Computed& c : kComputed) t.insert(QString::fromLatin1(c.name), Field{-1, &c});
        return t;
    }();
    return table;
}

// The value a property of the given type stores for a value written by
// name; none when the value has no usable form.
std::optional<QVariant> storedForm(QMetaType type, const QVariant& value) {
    switch (type.id()) {
        case QMetaType::QString:
            return QVariant(StyleValueText::textOf(value));
        case QMetaType::Double:
            if (const auto n = StyleValueText::numberOf(value)) return QVariant(*n);
            return std::nullopt;
        case QMetaType::LongLong:
            if (const auto n = StyleValueText::integerOf(value)) return QVariant(*n);
            return std::nullopt;
        case QMetaType::Bool:
            if (!value.canConvert<bool>() || value.isNull()) return std::nullopt;
            return QVariant(value.toBool());
        default:
            break;
    }
    if (type == QMetaType::fromType<platform::RGBAColor>()) {
        if (const auto c = StyleValueText::colorOf(value)) return QVariant::fromValue(*c);
    }
    return std::nullopt;
}

// A colour object is the style's own; a write copies the components.
bool copyColour(SCSubtitleColor* target, const QVariant& value) {
    auto* source = qobject_cast<SCSubtitleColor*>(value.value<QObject*>());
    if (target == nullptr || source == nullptr) return false;
    for (const char* name : {"alphaFloat", "redFloat", "greenFloat", "blueFloat", "oAlphaFloat",
                             "oRedFloat", "oGreenFloat", "oBlueFloat"})
        target->setProperty(name, source->property(name));
    return true;
}

}  // namespace

QVariant StyleFields::value(const SCStyle& style, const QString& key) {
    const auto found = fields().constFind(key);
    if (found == fields().constEnd()) return {};
    if (found->computed) return found->computed->get(style);
    return SCStyle::staticMetaObject.property(found->property).read(&style);
}

bool StyleFields::setValue(SCStyle& style, const QString& key, const QVariant& value) {
    const auto found = fields().constFind(key);
    if (found == fields().constEnd()) return false;
    if (found->computed) return found->computed->set && found->computed->set(style, value);
    const QMetaProperty property = SCStyle::staticMetaObject.property(found->property);
    if (!property.isWritable()) {
        if (property.metaType() != QMetaType::fromType<SCSubtitleColor*>()) return false;
        return copyColour(property.read(&style).value<SCSubtitleColor*>(), value);
    }
    const auto stored = storedForm(property.metaType(), value);
    return stored && property.write(&style, *stored);
}

const QStringList& StyleFields::names() {
    static const QStringList list = [] {
        QStringList l;
        const QMetaObject& meta = SCStyle::staticMetaObject;
        for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i)
            l.append(QString::fromLatin1(meta.property(i).name()));
        for (const Computed& c : kComputed) l.append(QString::fromLatin1(c.name));
        return l;
    }();
    return list;
}
