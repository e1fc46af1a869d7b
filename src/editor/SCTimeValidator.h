#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QLineEdit;

// Keeps a time field in its form while the user types, as a fixed template
// in overwrite mode: typed characters overwrite the digits from the caret on
// and step over the separators; a typed separator steps over the form's own
// (or stands for the one the caret has just passed) and is refused with a
// beep anywhere else, past the end of the text too; removed characters
// become "0"; anything but digits, ":" and the decimal separator is refused
// with a beep; and the result is normalised through the time texts before it
// reaches the model. A refused change leaves the text and the caret as they
// were before it.
//
// One validator serves every time field of an editing view; each call names
// the form of its field. Positions and lengths are UTF-16 units, the way a
// QLineEdit counts its caret.
class SCTimeValidator {
  public:
    // The two form texts; any other text keeps the form of the previous call.
    static inline const QString srtForm = QStringLiteral("hh:mm:ss,SSS");
    static inline const QString assForm = QStringLiteral("h:mm:ss.SS");

    struct Form {
        QString decimalSeparator;
        int timeStringLength = 0;
        QList<int> specialCharacterIndexes;
    };
    static std::optional<Form> formFor(const QString& formText);

    // What one change does to the field.
    struct Outcome {
        QStringList writes;        // every text written into the field, in order
        std::optional<int> caret;  // where the last caret placement put it
        int beeps = 0;
        QString fieldText;              // what the field shows afterwards
        QString oldText;                // the validator's oldText afterwards
        std::optional<QString> pushed;  // the one value the model receives, if any
    };

    // The whole of one change, without side effects: the field held
    // `oldText` and now holds `newText` with the caret at `caret`. A change
    // that would read or write outside a text (an oldText shorter than the
    // form, a paste that steps past the end) is refused like a disallowed
    // character: beep, oldText back. A final text that reads as no time
    // keeps oldText and pushes nothing.
    static Outcome validate(const QString& oldText, const QString& newText, int caret,
                            const Form& form);

    SCTimeValidator() = default;

    QString oldText() const { return oldText_; }
    void setOldText(const QString& text) { oldText_ = text; }
    QString decimalSeparator() const { return form_.decimalSeparator; }
    void setDecimalSeparator(const QString& separator) { form_.decimalSeparator = separator; }
    int timeStringLength() const { return form_.timeStringLength; }
    void setTimeStringLength(int length) { form_.timeStringLength = length; }
    QList<int> specialCharacterIndexes() const { return form_.specialCharacterIndexes; }
    void setSpecialCharacterIndexes(const QList<int>& indexes) {
        form_.specialCharacterIndexes = indexes;
    }
    // Every character but the digits, ":" and the current decimal separator.
    bool isDisallowedCharacter(QChar c) const;

    // Validates the field's change in the named form: rewrites the field
    // without re-entering its change signals, places the caret, beeps, and
    // hands the normalised text to `push` (the field's binding to its model
    // value), once per change.
    void validateTimeTextOfForm(const QString& form, QLineEdit& field,
                                const std::function<void(const QString&)>& push);

  private:
    QString oldText_;
    Form form_ = *formFor(srtForm);
};
