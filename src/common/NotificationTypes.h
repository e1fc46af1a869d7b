#pragma once

#include <QString>
#include <optional>

// The names of the program's notifications; the raw value is the case name.
class notificationTypes {
  public:
    enum Value {
        timeChanged,
        dialogChanged,
        subInitializationError,
        imageSubLineImported,
        blackDetectNewResult,
        imageSubSCSubtitleLineCreated,
        fileDownloadComplete,
    };

    constexpr notificationTypes(Value v) : value_(v) {}
    constexpr operator Value() const { return value_; }

    static std::optional<notificationTypes> fromRawValue(const QString& raw);
    QString rawValue() const;
    int hashValue() const { return static_cast<int>(value_); }

  private:
    Value value_;
};
