#pragma once

#include <QString>
#include <optional>

// The mark the time-conflict search puts on a line; the raw value is what
// the line stores and the table shows.
class timeConflictTypes {
  public:
    enum Value { decreasingTime, endOverlap, startOverlap, bothOverlap, enclosed };

    constexpr timeConflictTypes(Value v) : value_(v) {}
    constexpr operator Value() const { return value_; }

    static std::optional<timeConflictTypes> fromRawValue(const QString& raw);
    QString rawValue() const;
    int hashValue() const { return static_cast<int>(value_); }

  private:
    Value value_;
};
