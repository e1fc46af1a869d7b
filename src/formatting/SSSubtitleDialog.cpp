#include "formatting/SSSubtitleDialog.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "formatting/DialogDisplayStyle.h"
#include "platform/SpellChecker.h"

namespace {

bool spelledCorrectly(const QString& text) {
    // Each thread keeps the checker it was given while it is not replaced:
    // asking for it for every dialog made the loading threads contend for
    // one lock and one reference count.
    thread_local std::shared_ptr<platform::SpellChecker> checker;
    thread_local std::uint64_t generation = 0;
    // The two plain texts of a dialog without markup are the same text, set
    // one after the other: the last answer of this thread is kept for it.
    thread_local QString lastText;
    thread_local bool lastAnswer = true;
    if (!checker || generation != platform::SpellChecker::sharedGeneration()) {
        checker = platform::SpellChecker::shared(generation);
        lastText = QString();
    } else if (lastText == text) {
        return lastAnswer;
    }
    lastAnswer = !checker->checkSpellingOfString(text, 0).has_value();
    lastText = text;
    return lastAnswer;
}

// The ranges come in text order and apart, as the finders give them: the
// text is built once, not cut once per range.
void deleteFromBack(QString& text, const textFormatting::Ranges& ranges) {
    QString kept;
    kept.reserve(text.size());
    qsizetype from = 0;
    for (const auto& range : ranges) {
        const qsizetype start = std::clamp<qsizetype>(range.location, from, text.size());
        kept.append(QStringView(text).mid(from, start - from));
        from = std::clamp<qsizetype>(range.end(), start, text.size());
    }
    kept.append(QStringView(text).mid(from));
    text = std::move(kept);
}

// One bold, italic or underline switch of an ASS override block: \b1 turns
// bold on, \b0 off; none for any other code (\b700, \be1, \b).
struct Switch {
    textFormatting kind;
    bool on = false;
};

std::optional<Switch> switchOf(QStringView code) {
    if (code.size() != 3 || code[0] != u'\\' || (code[2] != u'0' && code[2] != u'1'))
        return std::nullopt;
    const bool on = code[2] == u'1';
    switch (code[1].unicode()) {
        case u'b':
            return Switch{textFormatting::bold, on};
        case u'i':
            return Switch{textFormatting::italic, on};
        case u'u':
            return Switch{textFormatting::underline, on};
        default:
            return std::nullopt;
    }
}

// The codes of an override block's inside, each from its backslash to the
// next one outside parentheses (\t(\fscx120) is one code).
std::vector<QStringView> codesOf(QStringView inside) {
    std::vector<QStringView> codes;
    qsizetype start = 0;
    int depth = 0;
    for (qsizetype i = 0; i < inside.size(); ++i) {
        if (inside[i] == u'(') ++depth;
        if (inside[i] == u')' && depth > 0) --depth;
        if (inside[i] == u'\\' && depth == 0 && i > start) {
            codes.push_back(inside.mid(start, i - start));
            start = i;
        }
    }
    if (start < inside.size()) codes.push_back(inside.mid(start));
    return codes;
}

// The SRT form of an ASS text: each bold, italic and underline switch
// becomes its SRT tag wherever it stands in an override block; the block
// keeps its other codes as they were and goes when it held none, and a block
// without such a switch stays as it is. The tags pair up and nest: a switch
// that changes nothing writes nothing, a kind switched off while kinds opened
// after it are on closes those first and opens them again before the next
// text, and whatever is on at the end is closed there.
QString srtTagsForASSSwitches(const QString& text) {
    QString out;
    out.reserve(text.size() + 16);
    std::vector<textFormatting> open;    // written, outermost first
    std::vector<textFormatting> paused;  // on, but closed for an outer kind
    const auto resume = [&] {
        for (const textFormatting kind : paused) {
            out += kind.startFor(subtitleTypes::srt);
            open.push_back(kind);
        }
        paused.clear();
    };
    const auto turn = [&](const Switch& change) {
        const auto openAt = std::find(open.begin(), open.end(), change.kind);
        const auto pausedAt = std::find(paused.begin(), paused.end(), change.kind);
        if (change.on == (openAt != open.end() || pausedAt != paused.end())) return;
        if (change.on) {
            resume();
            out += change.kind.startFor(subtitleTypes::srt);
            open.push_back(change.kind);
        } else if (pausedAt != paused.end()) {
            paused.erase(pausedAt);
        } else {
            // Those paused already were opened after these.
            const std::vector<textFormatting> inner(openAt + 1, open.end());
            for (auto kind = inner.rbegin(); kind != inner.rend(); ++kind)
                out += kind->endFor(subtitleTypes::srt);
            out += change.kind.endFor(subtitleTypes::srt);
            open.erase(openAt, open.end());
            paused.insert(paused.begin(), inner.begin(), inner.end());
        }
    };

    const QStringView all(text);
    qsizetype i = 0;
    while (i < all.size()) {
        // Without a "}" after it, a "{\\" is text, and so is all after it.
        const qsizetype start = all.indexOf(QLatin1String("{\\"), i);
        const qsizetype close = start < 0 ? -1 : all.indexOf(u'}', start + 2);
        const qsizetype textEnd = close < 0 ? all.size() : start;
        if (textEnd > i) {
            resume();
            out += all.mid(i, textEnd - i);
        }
        if (close < 0) break;
        const QStringView block = all.mid(start, close + 1 - start);
        std::vector<Switch> switches;
        QString kept;
        for (const QStringView code : codesOf(block.mid(1, block.size() - 2))) {
            if (const auto change = switchOf(code))
                switches.push_back(*change);
            else
                kept += code;
        }
        if (switches.empty()) {
            out += block;
        } else {
            if (!kept.isEmpty()) out += u'{' + kept + u'}';
            for (const Switch& change : switches) turn(change);
        }
        i = close + 1;
    }
    for (auto kind = open.rbegin(); kind != open.rend(); ++kind)
        out += kind->endFor(subtitleTypes::srt);
    return out;
}

}  // namespace

SSSubtitleDialog::SSSubtitleDialog()
    : formattedText_(std::make_shared<platform::AttributedText>()),
      formattedTextSelected_(std::make_shared<platform::AttributedText>()) {}

// The display texts are made as they are needed: a loaded line's selected
// text is its display text, and its grey one waits for the line to be left
// out.
SSSubtitleDialog::SSSubtitleDialog(const QString& fromString, subtitleTypes forSubtitleType) {
    originalSubtitleType_ = forSubtitleType;
    originalText_ = fromString;
    buildBaseDisplay(fromString);
    const bool isSRT = forSubtitleType == subtitleTypes::srt;
    const bool isASS = forSubtitleType == subtitleTypes::ass;
    if ((isSRT && hasSRTMarkup(fromString)) || (isASS && hasASSMarkup(fromString))) {
        assignConverted(fromString, forSubtitleType);
        runStylingPass(forSubtitleType);
        if (isASS) colourOverrideBlocks();
    } else {
        setPlainTextSRT(fromString);
        setPlainTextASS(fromString);
    }
    formattedTextSelected_ = formattedText_;
}

void SSSubtitleDialog::assignConverted(const QString& text, subtitleTypes type) {
    // The ASS form is assigned last, so the spelling flag is always its check.
    if (type == subtitleTypes::srt) {
        setPlainTextSRT(text);
        setPlainTextASS(convertTextFormattingFrom(subtitleTypes::srt, subtitleTypes::ass, text));
    } else {
        setPlainTextSRT(convertTextFormattingFrom(subtitleTypes::ass, subtitleTypes::srt, text));
        setPlainTextASS(text);
    }
}

void SSSubtitleDialog::setPlainTextSRT(const QString& text) {
    plainTextSRT_ = text;
    isSpelledCorrectly_ = spelledCorrectly(plainTextSRT_);
}

void SSSubtitleDialog::setPlainTextASS(const QString& text) {
    plainTextASS_ = text;
    isSpelledCorrectly_ = spelledCorrectly(plainTextASS_);
}

bool SSSubtitleDialog::hasSRTMarkup(const QString& text) {
    return text.contains(QLatin1String("</"));
}

bool SSSubtitleDialog::hasASSMarkup(const QString& text) {
    return text.contains(QLatin1String("{\\"));
}

void SSSubtitleDialog::addFormatting(textFormatting kind, platform::TextRange toNSRange) {
    DialogDisplayStyle::apply(*formattedText_, kind, toNSRange);
}

SSSubtitleDialog::DisplayText SSSubtitleDialog::formattedTextUnselected() const {
    if (formattedTextUnselected_) return formattedTextUnselected_;
    static const DisplayText empty = std::make_shared<platform::AttributedText>();
    return empty;
}

void SSSubtitleDialog::switchDialogToUnselected() {
    // Already showing the grey text: switching again must not make the grey
    // text the one to return to, or the formatting would be lost.
    if (formattedText_ == formattedTextUnselected_) return;
    formattedTextUnselected_ = DialogDisplayStyle::unselectedText(formattedText_->string());
    formattedTextSelected_ = formattedText_;
    formattedText_ = formattedTextUnselected_;
}

void SSSubtitleDialog::switchDialogToSelected() {
    formattedText_ = formattedTextSelected_;
}

void SSSubtitleDialog::buildBaseDisplay(const QString& text) {
    formattedText_ = DialogDisplayStyle::baseText(text);
}

void SSSubtitleDialog::runStylingPass(subtitleTypes type) {
    for (const textFormatting kind : textFormatting::allStylesFormatting()) {
        const auto spans = kind.rangesInString(formattedText_->string(), type);
        if (!spans) continue;
        const qsizetype startLength = kind.startFor(type).size();
        const qsizetype endLength = kind.endFor(type).size();
        // One pass for all spans of the kind and one for all its tags.
        std::vector<platform::TextRange> inner;
        inner.reserve(spans->size());
        for (const auto& span : *spans)
            inner.push_back({span.location + startLength, span.length - startLength - endLength});
        DialogDisplayStyle::apply(*formattedText_, kind, inner);
        const auto tags = kind.rangesForSpecialCharactersInString(formattedText_->string(), type);
        if (!tags) continue;
        formattedText_->deleteCharacters(*tags);
    }
}

void SSSubtitleDialog::colourOverrideBlocks() {
    const textFormatting effect = textFormatting::assEffect;
    const auto blocks = effect.rangesInString(formattedText_->string(), subtitleTypes::ass);
    if (!blocks) return;
    DialogDisplayStyle::apply(*formattedText_, effect, *blocks);
}

QString SSSubtitleDialog::convertTextFormattingFrom(subtitleTypes from, subtitleTypes to,
                                                    const QString& forString) {
    const bool marked = (from == subtitleTypes::srt && hasSRTMarkup(forString)) ||
                        (from == subtitleTypes::ass && hasASSMarkup(forString));
    if (!marked) return forString;
    if (from == subtitleTypes::ass && to == subtitleTypes::srt)
        return srtTagsForASSSwitches(forString);
    QString result = forString;
    for (const textFormatting kind : textFormatting::allStylesFormatting()) {
        result.replace(kind.startFor(from), kind.startFor(to));
        result.replace(kind.endFor(from), kind.endFor(to));
    }
    return result;
}

void SSSubtitleDialog::updateForNewPlainText(subtitleTypes forSubtitleType) {
    const QString text = forSubtitleType == subtitleTypes::srt ? plainTextSRT_ : plainTextASS_;
    buildBaseDisplay(text);
    if (hasSRTMarkup(text) || hasASSMarkup(text)) {
        assignConverted(text, forSubtitleType);
        runStylingPass(forSubtitleType);
        if (hasASSMarkup(text)) colourOverrideBlocks();
    } else {
        setPlainTextSRT(text);
        setPlainTextASS(text);
    }
    formattedTextSelected_ = formattedText_;
}

void SSSubtitleDialog::resetToOriginal() {
    // A dialog made empty was never loaded from anything to go back to.
    if (!originalSubtitleType_) return;
    if (*originalSubtitleType_ == subtitleTypes::srt)
        setPlainTextSRT(originalText_);
    else
        setPlainTextASS(originalText_);
    updateForNewPlainText(*originalSubtitleType_);
}

void SSSubtitleDialog::removeTextFormatting() {
    if (!originalSubtitleType_) return;
    QString text = *originalSubtitleType_ == subtitleTypes::srt ? plainTextSRT_ : plainTextASS_;
    bool changed = false;
    const auto strip = [&](const std::optional<textFormatting::Ranges>& ranges) {
        if (!ranges) return;
        deleteFromBack(text, *ranges);
        changed = true;
    };
    strip(textFormatting::rangesForAllStylesInString(text, subtitleTypes::ass));
    strip(textFormatting::rangesForAllStylesInString(text, subtitleTypes::srt));
    strip(textFormatting(textFormatting::assEffect).rangesInString(text, subtitleTypes::ass));
    if (!changed) return;
    setPlainTextSRT(text);
    setPlainTextASS(text);
    updateForNewPlainText(*originalSubtitleType_);
}
