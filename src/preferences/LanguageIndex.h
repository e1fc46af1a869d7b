#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The two forms a list of language-data files arrives in.
class LanguageIndex {
  public:
    // File names separated by "<br>": none without any "<br>"; otherwise the
    // body trimmed at both ends, split at every "<br>", without empty entries
    // and the index's own name "filesIndex.php", in order.
    static std::optional<QStringList> fromBreakSeparated(const QString& body);

    // A repository's contents listing (a JSON array of entries with "name"
    // and "type"): the names of its language-data files, in order; none when
    // the body is not such a listing.
    static std::optional<QStringList> fromRepositoryContents(const QString& body);
};
