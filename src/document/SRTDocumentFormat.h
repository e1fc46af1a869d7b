#pragma once

#include "document/DocumentFormat.h"

// SubRip files: cues become lines, the script information its five
// defaults, and the document keeps one default style.
class SRTDocumentFormat : public DocumentFormat {
  public:
    DocumentContent read(QString text, bool textOnly) const override;
    void takeText(SCSubtitleLine& line, const SCSubtitleLine& reread) const override;
    bool writeText(const SCSubtitle& subtitle, const TextSink& sink,
                   WriteNotes& notes) const override;

  protected:
    QString writtenLine(const SCSubtitleLine& line) const override;
};
