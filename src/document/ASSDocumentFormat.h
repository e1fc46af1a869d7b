#pragma once

#include "document/DocumentFormat.h"

// ASS and SSA files: events become lines, style lines styles, and every
// section the document has no use for is kept for the next save.
class ASSDocumentFormat : public DocumentFormat {
  public:
    DocumentContent read(QString text, bool textOnly) const override;
    void takeText(SCSubtitleLine& line, const SCSubtitleLine& reread) const override;
    bool writeText(const SCSubtitle& subtitle, const TextSink& sink,
                   WriteNotes& notes) const override;

  protected:
    QString writtenLine(const SCSubtitleLine& line) const override;
};
