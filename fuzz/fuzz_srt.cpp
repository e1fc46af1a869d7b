// SubRip reading and writing as values: cut, cues, times, texts; the cues
// written reread to the same cues.
#include "FuzzSupport.h"
#include "document/SRTFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QStringList lines = SRTFormat::linesOfFileText(fuzzsupport::textOf(data, size));
    const auto blocks = SRTFormat::findCues(lines);
    if (!blocks) return 0;
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
