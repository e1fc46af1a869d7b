#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

// File names grouped by language, the text before a name's first ".": the
// languages in the order of their first file, each with its files in the
// order met, each once. Names that cannot safely stand in a URL or as an
// entry of the language-data folder are left out, as are names without ".".
struct LanguageGroups {
    QStringList languages;
    QMap<QString, QStringList> files;

    static LanguageGroups fromFileNames(const QStringList& names);

    // Not empty, not "." or "..", no "/", "\" or control character, no
    // unpaired surrogate, and no leading "." (which would also make the
    // empty language).
    static bool isOfferableFileName(const QString& name);
};
