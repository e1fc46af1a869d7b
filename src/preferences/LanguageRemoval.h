#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

// Which installed files a press of "Remove" deletes, always keeping one OCR
// language: only languages that own "<language>.traineddata" count and are
// protected; other entries of the folder (fonts, notes) go when chosen.
class LanguageRemoval {
  public:
    struct Plan {
        QStringList files;                    // in the chosen order
        std::optional<QString> keptLanguage;  // the first chosen language kept back
    };

    static Plan plan(const QStringList& languages, const QMap<QString, QStringList>& files,
                     const QStringList& chosen);

    // Removes the entry of that name in the folder: a plain name of an entry
    // that is there, a link as a link, a folder with its content (links in it
    // not followed). False when nothing was removed.
    static bool removeEntry(const QString& folder, const QString& name);
};
