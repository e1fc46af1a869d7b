// Dialog markup: tags and override blocks in SRT and ASS form, converted,
// displayed and removed.
#include "FuzzSupport.h"
#include "formatting/SSSubtitleDialog.h"
#include "formatting/textFormatting.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzsupport::startApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const subtitleTypes type = data[0] % 2 ? subtitleTypes::ass : subtitleTypes::srt;
    const QString text = fuzzsupport::textOf(data + 1, size - 1);
    for (textFormatting kind : {textFormatting::bold, textFormatting::italic,
                                textFormatting::underline, textFormatting::assEffect}) {
        (void)kind.rangesInString(text, type);
        (void)kind.rangesForSpecialCharactersInString(text, type);
    }
    SSSubtitleDialog dialog(text, type);
    dialog.switchDialogToSelected();
    dialog.switchDialogToUnselected();
    dialog.removeTextFormatting();
    dialog.resetToOriginal();
    if (dialog.originalText() != text) fuzzsupport::fail("the original text changed");
    return 0;
}
