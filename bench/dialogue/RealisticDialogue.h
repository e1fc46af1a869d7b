// Dialogue that looks like what people subtitle, for the benchmarks: words of
// the installed English dictionary at a Zipf-like frequency (a head of common
// spoken words, then the rest of the dictionary), one or two lines per cue of
// varied length, about 12% of cues in italics, a few bold or underlined words,
// a few percent misspelled words, a few overlapping cues and a few names
// outside ASCII. The same count and seed give the same cues on a machine with
// the same dictionary.
#pragma once

#include <QString>
#include <cstdint>
#include <vector>

namespace bench {

inline constexpr std::uint64_t kDialogueSeed = 12;
inline constexpr const char* kDialogueDictionary = "/usr/share/hunspell/en_US.dic";

struct DialogueCue {
    std::int64_t startMs = 0;
    std::int64_t endMs = 0;
    QString text;  // SRT dialog: lines joined by '\n', with <i>, <b>, <u> tags
};

// `cues` cues in time order. Without the dictionary file the words come from
// the common head alone (a warning is printed).
std::vector<DialogueCue> generateDialogue(int cues, std::uint64_t seed = kDialogueSeed,
                                          const QString& dictionary = kDialogueDictionary);

// The cues as an SRT file's text, numbered from 1.
QString srtText(const std::vector<DialogueCue>& cues);

// The dialog without its tags, as it is shown.
QString withoutTags(const QString& text);

// Writes the generated file (UTF-8, replaced atomically); false on failure.
bool writeDialogueSRT(const QString& path, int cues, std::uint64_t seed = kDialogueSeed);

// <temp>/quillmar-bench/dialogue-<cues>.srt, written once per process so a
// run never reads a file left by another version of the generator.
QString dialogueSRT(int cues);

}  // namespace bench
