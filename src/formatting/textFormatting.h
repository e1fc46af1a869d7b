#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "common/SubtitleTypes.h"
#include "platform/TextRange.h"

// The markup kinds of a dialog text: bold, italic and underline, each a pair
// of tags in SRT or ASS form, and any other ASS override block.
class textFormatting {
  public:
    enum Value { bold, italic, underline, assEffect };

    constexpr textFormatting(Value v = bold) : value_(v) {}
    constexpr operator Value() const { return value_; }

    static std::optional<textFormatting> fromRawValue(const QString& raw);
    QString rawValue() const;
    int hashValue() const { return static_cast<int>(value_); }

    // bold, italic, underline: the kinds written as tag pairs.
    static const std::vector<textFormatting>& allStylesFormatting();

    // The tags in the syntax of the type; empty for assEffect and for types
    // without markup.
    QString startFor(subtitleTypes type) const;
    QString endFor(subtitleTypes type) const;

    using Ranges = std::vector<platform::TextRange>;
    // Each finder gives UTF-16 ranges in text order, or nothing (never an
    // empty list) when nothing matched.
    // Spans of this kind, tags included; for assEffect every override block.
    std::optional<Ranges> rangesInString(const QString& text, subtitleTypes forSubtitleType) const;
    // The single tags of this kind, opening and closing alike.
    std::optional<Ranges> rangesForSpecialCharactersInString(const QString& text,
                                                             subtitleTypes forSubtitleType) const;
    // Every bold, italic and underline tag of the syntax.
    static std::optional<Ranges> rangesForAllStylesInString(const QString& text,
                                                            subtitleTypes forSubtitleType);

  private:
    Value value_;
};
