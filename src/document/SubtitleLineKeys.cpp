#include "document/SubtitleLineKeys.h"

#include <QHash>

#include "document/SCSubtitleLine.h"
#include "platform/AttributedText.h"

namespace {

using Line = SCSubtitleLine;

struct Field {
    const char* name;
    QVariant (*get)(const Line&);
    bool (*set)(Line&, const QVariant&);  // null: read-only
};

// A stored value with a plain setter; `convert` is the QVariant accessor.
#define QUILLMAR_FIELD(name, setter, convert)                  \
    {                                                          \
#name, [](const Line& l) -> QVariant { return l.name(); },   \
     [](Line& l, const QVariant& v) {                             \
         l.setter(v.convert());                                   \
         return true;                                             \
     } \
    }
// A time text: its setter says whether the text read.
#define QUILLMAR_TIME(name, setter)                                                                \
    {                                                                                              \
#name, [](const Line& l)                                                                   \
                    -> QVariant { return l.name(); }, [](Line & l,                                 \
                                                         const QVariant&                           \
                                                             v) { return l.setter(v.toString()); } \
    }
#define QUILLMAR_READ_ONLY(name)                                                                \
    {                                                                                           \
#name, [](const Line& l) -> QVariant { return QVariant::fromValue(l.name()); }, nullptr \
    }
#define QUILLMAR_CONSTANT(name)                                              \
    {                                                                        \
#name, [](const Line&) -> QVariant { return Line::name(); }, nullptr \
    }

// clang-format off
const Field kFields[] = {
    QUILLMAR_FIELD(originalIndex, setOriginalIndex, toLongLong),
    QUILLMAR_FIELD(userIndex, setUserIndex, toLongLong),
    QUILLMAR_FIELD(textTableRowHeight, setTextTableRowHeight, toDouble),
    QUILLMAR_FIELD(isExcluded, setIsExcluded, toBool),
    QUILLMAR_FIELD(timeConflict, setTimeConflict, toString),
    QUILLMAR_FIELD(dialogImage, setDialogImage, value<QImage>),
    QUILLMAR_FIELD(startOverlap, setStartOverlap, toDouble),
    QUILLMAR_FIELD(endOverlap, setEndOverlap, toDouble),
    QUILLMAR_FIELD(userStartTimeDouble, setUserStartTimeDouble, toDouble),
    QUILLMAR_FIELD(userEndTimeDouble, setUserEndTimeDouble, toDouble),
    QUILLMAR_FIELD(assDialogDictionary, setAssDialogDictionary, toMap),
    QUILLMAR_CONSTANT(assOrderedDialogKeys),
    QUILLMAR_FIELD(Layer, setLayer, toLongLong),
    QUILLMAR_FIELD(Style, setStyle, toString),
    QUILLMAR_FIELD(Name, setName, toString),
    QUILLMAR_FIELD(MarginL, setMarginL, toLongLong),
    QUILLMAR_FIELD(MarginR, setMarginR, toLongLong),
    QUILLMAR_FIELD(MarginV, setMarginV, toLongLong),
    QUILLMAR_FIELD(Effect, setEffect, toString),
    QUILLMAR_FIELD(Text, setText, toString),
    QUILLMAR_FIELD(originalsDictionary, setOriginalsDictionary, toMap),
    QUILLMAR_CONSTANT(propertiesForDisplayKeys),
    QUILLMAR_CONSTANT(propertyList),
    QUILLMAR_TIME(userStartTimeStringSRT, setUserStartTimeStringSRT),
    QUILLMAR_TIME(userStartTimeStringASS, setUserStartTimeStringASS),
    QUILLMAR_TIME(userEndTimeStringSRT, setUserEndTimeStringSRT),
    QUILLMAR_TIME(userEndTimeStringASS, setUserEndTimeStringASS),
    QUILLMAR_TIME(Start, setStart),
    QUILLMAR_TIME(End, setEnd),
    QUILLMAR_FIELD(unformattedTextSRT, setUnformattedTextSRT, toString),
    QUILLMAR_FIELD(unformattedTextASS, setUnformattedTextASS, toString),
    QUILLMAR_READ_ONLY(userTextSRT),
    QUILLMAR_READ_ONLY(userTextASS),
    QUILLMAR_READ_ONLY(spellCheckResultLabel),
    QUILLMAR_CONSTANT(assDialogueFormatString),
    QUILLMAR_READ_ONLY(assDialogueString),
    QUILLMAR_READ_ONLY(srtDialogueString),
};
// clang-format on

#undef QUILLMAR_FIELD
#undef QUILLMAR_TIME
#undef QUILLMAR_READ_ONLY
#undef QUILLMAR_CONSTANT

const Field* fieldNamed(const QString& name) {
    static const QHash<QString, const Field*> table = [] {
        QHash<QString, const Field*> t;
        for (const Field& f : kFields) t.insert(QString::fromLatin1(f.name), &f);
        return t;
    }();
    return table.value(name, nullptr);
}

}  // namespace

QVariant SubtitleLineKeys::value(const SCSubtitleLine& line, const QString& name) {
    const Field* field = fieldNamed(name);
    return field ? field->get(line) : QVariant();
}

bool SubtitleLineKeys::setValue(SCSubtitleLine& line, const QString& name, const QVariant& value) {
    const Field* field = fieldNamed(name);
    return field && field->set && field->set(line, value);
}

const QStringList& SubtitleLineKeys::names() {
    static const QStringList list = [] {
        QStringList l;
        for (const Field& f : kFields) l.append(QString::fromLatin1(f.name));
        return l;
    }();
    return list;
}
