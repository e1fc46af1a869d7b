#pragma once

#include "app/PanelProvider.h"

// Panels as Qt's own (non-native) file dialogs, so that they look and behave
// the same on every desktop.
class FileDialogPanels : public PanelProvider {
  public:
    void beginOpenPanel(const OpenPanel& panel, OpenCompletion completion) override;
    std::optional<QString> runSavePanel(const SavePanel& panel) override;

    // "*.[sS][rR][tT]" for "srt": the dialog's own filters are case-sensitive.
    static QString caseInsensitivePattern(const QString& extension);
};
