#include "editor/SCTimeValidator.h"

#include <QLineEdit>
#include <QSignalBlocker>
#include <algorithm>

#include "common/TimeTexts.h"
#include "editor/SystemBeep.h"

namespace {

// A read or write outside a text: the change is refused.
struct OutsideText {};
// A typed separator where the template has none: taking it would shift every
// digit after it by one place, so the change is refused.
struct MisplacedSeparator {};

class Run {
  public:
    Run(const QString& oldText, const QString& newText, const SCTimeValidator::Form& form)
        : old_(oldText), new_(newText), form_(form), working_(oldText) {}

    QChar oldAt(qsizetype i) const { return at(old_, i); }
    QChar newAt(qsizetype i) const { return at(new_, i); }
    bool isSeparator(QChar c) const { return c == u':' || QString(c) == form_.decimalSeparator; }
    bool newTextHasDisallowed() const {
        return std::any_of(new_.begin(), new_.end(),
                           [this](QChar c) { return !isDigit(c) && !isSeparator(c); });
    }
    void put(qsizetype position, QChar c) {
        if (position < 0 || position >= working_.size()) throw OutsideText{};
        working_[position] = c;
    }
    void write(const QString& text) {
        outcome.writes.append(text);
        outcome.fieldText = text;
    }
    void writeWorking() { write(working_); }
    void restoreOld() { write(old_); }
    void placeCaret(qsizetype position) {
        outcome.caret = int(std::clamp<qsizetype>(position, 0, outcome.fieldText.size()));
    }
    void beep() { ++outcome.beeps; }
    // Where the caret stood before the change: where the typed or pasted
    // characters began (the end of a replaced selection).
    qsizetype caretBefore(int caret) const { return caret - (new_.size() - old_.size()); }
    // A refused change: the beep, and the field's text and caret as they
    // were before it.
    void refuse(int caret) {
        beep();
        restoreOld();
        placeCaret(caretBefore(caret));
    }
    static bool isDigit(QChar c) { return c.isDigit() && c.unicode() < 128; }

    // One character over the template at `position`: a separator of the
    // template is stepped over. A separator the user typed steps over the
    // same separator of the template, or stands for the one the caret has
    // just stepped over after the digit before it; anywhere else it is
    // refused. A separator read from the text after the caret (a selection
    // replaced by fewer characters reads on past them) is skipped.
    void overwrite(qsizetype& position, QChar ch, QChar templateChar, bool typed) {
        if (isSeparator(ch)) {
            if (typed && ch == templateChar)
                ++position;
            else if (typed && (position == 0 || oldAt(position - 1) != ch))
                throw MisplacedSeparator{};
            writeWorking();
        } else if (isSeparator(templateChar)) {
            ++position;
            put(position, ch);
            writeWorking();
            placeCaret(position + 1);
            ++position;
        } else {
            put(position, ch);
            writeWorking();
            ++position;
        }
    }

    void grown(int caret);
    void shrunk(int caret);

    SCTimeValidator::Outcome outcome;

  private:
    static QChar at(const QString& text, qsizetype i) {
        if (i < 0 || i >= text.size()) throw OutsideText{};
        return text[i];
    }
    void zeroFill(int caret, qsizetype removed, qsizetype firstChanged, bool replaced);

    const QString& old_;
    const QString& new_;
    const SCTimeValidator::Form& form_;
    QString working_;
};

void Run::grown(int caret) {
    const int length = form_.timeStringLength;
    std::optional<qsizetype> firstChanged;
    for (qsizetype i = 0; i < length; ++i)
        if (oldAt(i) != newAt(i)) {
            firstChanged = i;
            break;
        }
    if (!firstChanged) {
        // Typed past the end of the template: a digit is dropped quietly,
        // anything else is refused.
        const QString typed = new_.mid(caretBefore(caret), caret - caretBefore(caret));
        if (!std::all_of(typed.begin(), typed.end(), [](QChar c) { return isDigit(c); })) {
            refuse(caret);
            return;
        }
        restoreOld();
    } else if (*firstChanged >= caret) {
        restoreOld();  // nothing typed before the caret
    } else if (newTextHasDisallowed()) {
        refuse(caret);
        return;
    } else {
        const QString inserted = new_.mid(*firstChanged, caret - *firstChanged);
        qsizetype position = *firstChanged;
        try {
            for (QChar ch : inserted) {
                if (position > length - 1) {
                    beep();
                    break;
                }
                overwrite(position, ch, oldAt(position), true);
            }
        } catch (const MisplacedSeparator&) {
            refuse(caret);
            return;
        }
        // A typed separator took a place of its own in the text but none in
        // the template: the caret goes where the next character belongs, not
        // where the field's own insertion left it.
        if (std::any_of(inserted.begin(), inserted.end(),
                        [this](QChar c) { return isSeparator(c); })) {
            placeCaret(form_.specialCharacterIndexes.contains(int(position)) ? position + 1
                                                                             : position);
            return;
        }
    }
    if (form_.specialCharacterIndexes.contains(caret)) placeCaret(caret + 1);
}

void Run::shrunk(int caret) {
    const qsizetype removed = old_.size() - new_.size();
    std::optional<qsizetype> found;
    for (qsizetype k = 0; k < new_.size(); ++k)
        if (oldAt(k) != newAt(k)) {
            found = k;
            break;
        }
    const qsizetype firstChanged = found.value_or(caret + removed);
    if (firstChanged < caret) {
        // A selection replaced by fewer characters.
        qsizetype position = firstChanged;
        try {
            for (qsizetype pass = 0; pass < caret - firstChanged; ++pass) {
                if (position > form_.timeStringLength - 1) {
                    beep();
                    break;
                }
                const QChar ch = newAt(position);
                const QChar oc = oldAt(position);
                if (newTextHasDisallowed()) {
                    beep();
                    restoreOld();
                    placeCaret(firstChanged - 1);
                    break;
                }
                // Only the characters before the caret are the user's.
                overwrite(position, ch, oc, position < caret);
            }
        } catch (const MisplacedSeparator&) {
            refuse(caret);
            return;
        }
        zeroFill(caret, removed, firstChanged, true);
    } else {
        zeroFill(caret, removed, firstChanged, false);
    }
}

void Run::zeroFill(int caret, qsizetype removed, qsizetype firstChanged, bool replaced) {
    for (qsizetype d = caret; d < caret + removed; ++d) {
        if (isSeparator(oldAt(d))) {
            ++d;
            put(d, u'0');
            writeWorking();
            placeCaret(replaced ? d + 1 : d - 1);
        } else {
            put(d, u'0');
            writeWorking();
            placeCaret(replaced ? firstChanged + 1 : caret);
        }
    }
}

}  // namespace

std::optional<SCTimeValidator::Form> SCTimeValidator::formFor(const QString& formText) {
    if (formText == srtForm) return Form{QStringLiteral(","), 12, {2, 5, 8}};
    if (formText == assForm) return Form{QStringLiteral("."), 10, {1, 4, 7}};
    return std::nullopt;
}

bool SCTimeValidator::isDisallowedCharacter(QChar c) const {
    return !(c.isDigit() && c.unicode() < 128) && c != u':' && QString(c) != decimalSeparator();
}

SCTimeValidator::Outcome SCTimeValidator::validate(const QString& oldText, const QString& newText,
                                                   int caret, const Form& form) {
    const int readCaret = std::clamp<int>(caret, 0, int(newText.size()));
    Run run(oldText, newText, form);
    run.outcome.fieldText = newText;
    try {
        if (newText.size() >= oldText.size())
            run.grown(readCaret);
        else
            run.shrunk(readCaret);
    } catch (const OutsideText&) {
        // Refused as a whole: the field shows oldText again.
        run.outcome = Outcome{};
        run.refuse(readCaret);
    }
    Outcome outcome = std::move(run.outcome);
    const auto seconds = doubleTimeFromStringTime(outcome.fieldText);
    if (!seconds) {
        // Nothing readable to hand on: the field keeps the text it had.
        if (outcome.fieldText != oldText) {
            outcome.writes.append(oldText);
            outcome.fieldText = oldText;
        }
        outcome.oldText = oldText;
        return outcome;
    }
    const QString formatted = form.decimalSeparator == u"," ? srtTimeStringFromDoubleTime(*seconds)
                                                            : assTimeStringFromDoubleTime(*seconds);
    outcome.writes.append(formatted);
    outcome.fieldText = formatted;
    outcome.oldText = formatted;
    outcome.pushed = formatted;
    return outcome;
}

void SCTimeValidator::validateTimeTextOfForm(const QString& form, QLineEdit& field,
                                             const std::function<void(const QString&)>& push) {
    if (const auto chosen = formFor(form)) form_ = *chosen;
    const int caretRead = field.cursorPosition();
    const Outcome outcome = validate(oldText_, field.text(), caretRead, form_);
    for (int i = 0; i < outcome.beeps; ++i) SystemBeep::beep();
    {
        const QSignalBlocker blocker(&field);
        field.setText(outcome.fieldText);
        const int caret = outcome.caret.value_or(caretRead);
        field.setCursorPosition(std::clamp<int>(caret, 0, int(outcome.fieldText.size())));
    }
    oldText_ = outcome.oldText;
    if (outcome.pushed && push) push(*outcome.pushed);
}
