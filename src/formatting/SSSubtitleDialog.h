#pragma once

#include <QString>
#include <memory>
#include <optional>

#include "common/SubtitleTypes.h"
#include "formatting/textFormatting.h"
#include "platform/AttributedText.h"

// The dialog text of one subtitle line in every form the editor needs: as
// loaded, with SRT tags, with ASS override tags, and for display. A value
// type, except that the three display texts are shared references: a copy
// shares them until one of the two is rebuilt.
class SSSubtitleDialog {
  public:
    using DisplayText = std::shared_ptr<platform::AttributedText>;

    SSSubtitleDialog();
    // Always yields a dialog: both syntaxes filled (converted tag for tag
    // when the text holds markup), spelling checked, display text built.
    SSSubtitleDialog(const QString& fromString, subtitleTypes forSubtitleType);
    // A dialog with nothing built and no display texts at all, for a line a
    // reader fills at once: the reader replaces it, or the line is dropped.
    static SSSubtitleDialog unbuilt() { return SSSubtitleDialog(Unbuilt{}); }

    const QString& theText() const { return theText_; }
    std::optional<subtitleTypes> originalSubtitleType() const { return originalSubtitleType_; }
    const QString& originalText() const { return originalText_; }

    DisplayText formattedText() const { return formattedText_; }
    DisplayText formattedTextSelected() const { return formattedTextSelected_; }
    // An empty text (one for every dialog) until the dialog is first greyed.
    DisplayText formattedTextUnselected() const;

    // Every assignment of a marked-up text re-checks its spelling.
    const QString& plainTextSRT() const { return plainTextSRT_; }
    void setPlainTextSRT(const QString& text);
    const QString& plainTextASS() const { return plainTextASS_; }
    void setPlainTextASS(const QString& text);

    // Whether the text assigned last has no misspelt word.
    bool isSpelledCorrectly() const { return isSpelledCorrectly_; }

    // Styles the shared display text in place (copies see it too).
    void addFormatting(textFormatting kind, platform::TextRange toNSRange);
    // The plain light-grey form for a line left out of the output, and back.
    void switchDialogToUnselected();
    void switchDialogToSelected();

    // Rebuilds the other syntax and the display after the text of the given
    // syntax (SRT for srt, ASS for any other) was assigned.
    void updateForNewPlainText(subtitleTypes forSubtitleType);
    // The text with bold, italic and underline tags of one syntax replaced
    // by the other's; unchanged when it holds no markup of `from`. From ASS
    // to SRT every \b, \i and \u switch (0 or 1) counts, also one among other
    // codes of a block, resets and weights end and begin the tags as they end
    // and begin the style, and the SRT tags written pair up.
    static QString convertTextFormattingFrom(subtitleTypes from, subtitleTypes to,
                                             const QString& forString);
    // Back to the text as loaded, both syntaxes and display rebuilt.
    void resetToOriginal();
    // Deletes every tag and override block; nothing happens when none is found.
    void removeTextFormatting();

  private:
    struct Unbuilt {};
    explicit SSSubtitleDialog(Unbuilt) {}

    // Both syntaxes from a text in the given one.
    void assignConverted(const QString& text, subtitleTypes type);
    void buildBaseDisplay(const QString& text);
    void runStylingPass(subtitleTypes type);
    void colourOverrideBlocks();
    static bool hasSRTMarkup(const QString& text);
    static bool hasASSMarkup(const QString& text);

    QString theText_;
    std::optional<subtitleTypes> originalSubtitleType_;
    QString originalText_;
    DisplayText formattedText_;
    DisplayText formattedTextSelected_;
    DisplayText formattedTextUnselected_;  // none until first greyed
    QString plainTextSRT_;
    QString plainTextASS_;
    bool isSpelledCorrectly_ = true;
};
