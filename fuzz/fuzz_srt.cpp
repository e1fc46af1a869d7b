// SubRip reading and writing as values: cut, cues, times, texts; the cues
// written reread to the same cues.
#include "FuzzSupport.h"
#include "document/SRTFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = fuzzsupport::textOf(data, size);
    const QStringList lines = SRTFormat::linesOfFileText(text);
    const auto blocks = SRTFormat::findCues(lines);
    // A load finds the cues in the text itself: the same cues, line for line.
    const auto spans = SRTFormat::findCueSpans(text);
    if (bool(spans) != bool(blocks) || (spans && spans->size() != blocks->size()))
        fuzzsupport::fail("cues found in the text differ from those of its lines");
    if (!blocks) return 0;
    for (std::size_t i = 0; i < blocks->size(); ++i)
        if (SRTFormat::cueLines(text, (*spans)[i]) != (*blocks)[i])
            fuzzsupport::fail("a cue's lines cut from the text differ");
    std::vector<SrtCue> cues;
    for (const QStringList& block : *blocks) {
        (void)SRTFormat::timeTextsOfBlock(block);
        if (auto cue = SRTFormat::readCue(block); cue && cue->text) cues.push_back(*cue);
    }
    const QString written = SRTFormat::documentText(cues);
    const auto again = SRTFormat::findCues(SRTFormat::linesOfFileText(written));
    if (!cues.empty() && (!again || again->size() < cues.size()))
        fuzzsupport::fail("written cues are lost on rereading");
    return 0;
}
