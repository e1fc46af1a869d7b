#include "formatting/StyleKeys.h"

#include <QHash>
#include <QStringList>
#include <utility>

#include "formatting/SCStyle.h"

std::optional<StyleKeys::Key> StyleKeys::keyFor(const QString& name) {
    static const QHash<QString, Key> keys = [] {
        QHash<QString, Key> table;
        const QStringList& ordered = SCStyle::assOrderedStyleKeys();
        for (qsizetype i = 0; i < ordered.size(); ++i) table.insert(ordered[i], Key(i));
        const std::pair<const char*, Key> others[] = {
            {"theState", Key::theState},
            {"assStyleDictionary", Key::assStyleDictionary},
            {"assOrderedStyleKeys", Key::assOrderedStyleKeys},
            {"assStyleFormatString", Key::assStyleFormatString},
            {"assStyleString", Key::assStyleString},
            {"primaryColorSCSubtitleColor", Key::primaryColorSCSubtitleColor},
            {"secondaryColorSCSubtitleColor", Key::secondaryColorSCSubtitleColor},
            {"outlineColorSCSubtitleColor", Key::outlineColorSCSubtitleColor},
            {"backColorSCSubtitleColor", Key::backColorSCSubtitleColor},
            {"primaryColorNSColor", Key::primaryColorNSColor},
            {"secondaryColorNSColor", Key::secondaryColorNSColor},
            {"outlineColorNSColor", Key::outlineColorNSColor},
            {"backColorNSColor", Key::backColorNSColor},
        };
        for (const auto& [name, key] : others) table.insert(QString::fromLatin1(name), key);
        return table;
    }();
    const auto it = keys.constFind(name);
    if (it == keys.constEnd()) return std::nullopt;
    return *it;
}
