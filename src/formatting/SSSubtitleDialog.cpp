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

// What one code of an override block does to bold, italic and underline, as
// a renderer draws the letters after it. \b1, \i1, \u1 turn their kind on
// and \b0, \i0, \u0 off; these become SRT tags. The codes that say more than
// a tag stay in their block: a valueless \b, \i or \u turns its kind off
// (back to the style, which SRT does not carry), \b with a weight turns bold
// on from 600 and off below, and \r or \r<style> turns all three off. Any
// other code (\be1, \bord2, \iclip, \i2) does nothing here.
struct CodeEffect {
    enum Action { none, on, off, reset };
    Action action = none;
    textFormatting kind = textFormatting::bold;  // unused by none and reset
    bool becomesTag = false;
};

CodeEffect effectOf(QStringView code) {
    if (code.size() < 2 || code[0] != u'\\') return {};
    if (code[1] == u'r') return {CodeEffect::reset};
    textFormatting kind;
    switch (code[1].unicode()) {
        case u'b':
            kind = textFormatting::bold;
            break;
        case u'i':
            kind = textFormatting::italic;
            break;
        case u'u':
            kind = textFormatting::underline;
            break;
        default:
            return {};
    }
    const QStringView value = code.mid(2);
    if (value.isEmpty()) return {CodeEffect::off, kind};
    if (value == u"0" || value == u"1")
        return {value == u"1" ? CodeEffect::on : CodeEffect::off, kind, true};
    int number = 0;  // capped: a weight of any length stays a weight
    for (const QChar digit : value) {
        if (digit < u'0' || digit > u'9') return {};
        number = std::min(number * 10 + (digit.unicode() - u'0'), 10000);
    }
    if (number == 0 || number == 1) return {number == 1 ? CodeEffect::on : CodeEffect::off, kind};
    if (kind != textFormatting::bold) return {};
    return {number >= 600 ? CodeEffect::on : CodeEffect::off, kind};
}

// Calls `each` with the codes of an override block's inside, each from its
// backslash to the next one outside parentheses (\t(\fscx120) is one code).
template <typename Each>
void forEachCode(QStringView inside, Each each) {
    qsizetype start = 0;
    int depth = 0;
    for (qsizetype i = 0; i < inside.size(); ++i) {
        if (inside[i] == u'(') ++depth;
        if (inside[i] == u')' && depth > 0) --depth;
        if (inside[i] == u'\\' && depth == 0 && i > start) {
            each(inside.mid(start, i - start));
            start = i;
        }
    }
    if (start < inside.size()) each(inside.mid(start));
}

// The SRT tags of one text as its codes are read: the kinds on, and the tags
// written for them. The tags follow the kinds only where text is written, so
// a kind turned off and on again between two letters writes nothing and no
// pair is left empty. They pair up and nest: a kind off while kinds opened
// after it are on closes those too and opens them again.
class SrtTags {
  public:
    explicit SrtTags(QString& out) : out_(out) {}

    void apply(const CodeEffect& effect) {
        const auto at = std::find(on_.begin(), on_.end(), effect.kind);
        switch (effect.action) {
            case CodeEffect::on:
                if (at == on_.end()) on_.push_back(effect.kind);
                break;
            case CodeEffect::off:
                if (at != on_.end()) on_.erase(at);
                break;
            case CodeEffect::reset:
                on_.clear();
                break;
            case CodeEffect::none:
                break;
        }
    }

    // Before each piece of text.
    void follow() {
        const auto firstOff = std::find_if(open_.begin(), open_.end(), [&](textFormatting kind) {
            return std::find(on_.begin(), on_.end(), kind) == on_.end();
        });
        closeFrom(firstOff);
        for (const textFormatting kind : on_) {
            if (std::find(open_.begin(), open_.end(), kind) != open_.end()) continue;
            out_ += kind.startFor(subtitleTypes::srt);
            open_.push_back(kind);
        }
    }

    // At the end of the text.
    void closeAll() { closeFrom(open_.begin()); }

  private:
    void closeFrom(std::vector<textFormatting>::iterator first) {
        for (auto kind = open_.end(); kind != first;) {
            --kind;
            out_ += kind->endFor(subtitleTypes::srt);
        }
        open_.erase(first, open_.end());
    }

    QString& out_;
    std::vector<textFormatting> on_;    // in the order turned on
    std::vector<textFormatting> open_;  // written, outermost first
};

// One override block's inside, written as what is left of it once its
// switches are tags: the text before its first code (a comment to
// renderers) and its other codes, byte for byte. A block that held no switch
// is written whole, and one left empty is dropped.
void writeBlock(QStringView inside, SrtTags& tags, QString& out) {
    const qsizetype mark = out.size();
    const qsizetype firstCode = inside.indexOf(u'\\');
    out += u'{';
    out += inside.left(firstCode < 0 ? inside.size() : firstCode);
    bool anyTag = false;
    if (firstCode >= 0) {
        forEachCode(inside.mid(firstCode), [&](QStringView code) {
            const CodeEffect effect = effectOf(code);
            tags.apply(effect);
            if (effect.becomesTag)
                anyTag = true;
            else
                out += code;
        });
    }
    if (anyTag && out.size() == mark + 1)
        out.truncate(mark);
    else
        out += u'}';
}

// The SRT form of an ASS text: its bold, italic and underline switches become
// SRT tags, and its other text stays as it is. A block runs from a "{" to the
// first "}" after it, as renderers read it, so text between blocks holds no
// "{" that a dropped block could join to a new code; a "{" with no "}" after
// it is text, and so is all after it. Whatever is on at the end is closed.
QString srtTagsForASSSwitches(const QString& text) {
    QString out;
    out.reserve(text.size() + 16);
    SrtTags tags(out);
    const QStringView all(text);
    qsizetype i = 0;
    while (i < all.size()) {
        const qsizetype start = all.indexOf(u'{', i);
        const qsizetype close = start < 0 ? -1 : all.indexOf(u'}', start + 1);
        const qsizetype textEnd = close < 0 ? all.size() : start;
        if (textEnd > i) {
            tags.follow();
            out += all.mid(i, textEnd - i);
        }
        if (close < 0) break;
        writeBlock(all.mid(start + 1, close - start - 1), tags, out);
        i = close + 1;
    }
    tags.closeAll();
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
    // Not only "{\": a block may hold text before its first code.
    return text.contains(u'{') && text.contains(u'\\');
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
