#pragma once

#include <QString>
#include <optional>

// The outcome of every load, parse and write.
class resultTypes {
  public:
    enum Value { error, ok };

    constexpr resultTypes(Value v = error) : value_(v) {}
    constexpr operator Value() const { return value_; }

    static std::optional<resultTypes> fromRawValue(const QString& raw);
    QString rawValue() const;
    int hashValue() const { return static_cast<int>(value_); }

  private:
    Value value_;
};
