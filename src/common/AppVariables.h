#pragma once

#include <QString>
#include <optional>

// Application-wide constants.
struct AppVariables {
    // The maker's applications; the raw value is the case name.
    class toolsApps {
      public:
        enum Value { Harnwick, Lodestra, Pellimor, Quillmar };

        constexpr toolsApps(Value v) : value_(v) {}
        constexpr operator Value() const { return value_; }

        static std::optional<toolsApps> fromRawValue(const QString& raw);
        QString rawValue() const;
        int hashValue() const { return static_cast<int>(value_); }

        // The extension, with its point, of what the application makes by default.
        QString defaultConversionExtension() const;
        bool canEditFileExtension(const QString& ext) const;

      private:
        Value value_;
    };

    static const toolsApps thisApplication;
    static constexpr double dialogTableColumnWidth = 390.0;
};

inline constexpr AppVariables::toolsApps AppVariables::thisApplication{
    AppVariables::toolsApps::Quillmar};
