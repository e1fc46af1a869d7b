#include "preferences/LanguageGroups.h"

#include <algorithm>

bool LanguageGroups::isOfferableFileName(const QString& name) {
    if (name.isEmpty() || name.startsWith(u'.')) return false;
    // An unpaired surrogate has no file name to become: it would be stored
    // as "?" under a name the index never gave.
    if (!name.isValidUtf16()) return false;
    return std::none_of(name.cbegin(), name.cend(), [](QChar c) {
        return c == u'/' || c == u'\\' || c.category() == QChar::Other_Control ||
               c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
    });
}

LanguageGroups LanguageGroups::fromFileNames(const QStringList& names) {
    LanguageGroups groups;
    for (const QString& name : names) {
        if (!isOfferableFileName(name)) continue;
        const qsizetype dot = name.indexOf(u'.');
        if (dot < 0) continue;
        const QString language = name.left(dot);
        if (!groups.files.contains(language)) groups.languages.append(language);
        QStringList& files = groups.files[language];
        if (!files.contains(name)) files.append(name);
    }
    return groups;
}
