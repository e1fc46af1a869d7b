#pragma once

#include <QString>
#include <optional>

// The kind of a subtitle file or of an export.
class subtitleTypes {
  public:
    enum Value { srt, ass, vobsub, pgs, none };

    constexpr subtitleTypes(Value v = none) : value_(v) {}
    constexpr operator Value() const { return value_; }

    static std::optional<subtitleTypes> fromRawValue(const QString& raw);
    // Maps a file extension, with or without its point and in any case.
    static subtitleTypes enumForExtension(const QString& ext);

    QString rawValue() const;
    int hashValue() const { return static_cast<int>(value_); }
    bool isTextBased() const { return value_ == srt || value_ == ass; }
    bool isImageBased() const { return value_ == vobsub || value_ == pgs; }

  private:
    Value value_;
};
