#include "app/FileDialogPanels.h"

#include <QFileDialog>

QString FileDialogPanels::caseInsensitivePattern(const QString& extension) {
    QString pattern = QStringLiteral("*.");
    for (const QChar c : extension) {
        const QChar lower = c.toLower();
        const QChar upper = c.toUpper();
        if (lower == upper)
            pattern += c;
        else
            pattern += QString('[') + lower + upper + ']';
    }
    return pattern;
}

void FileDialogPanels::beginOpenPanel(const OpenPanel& panel, OpenCompletion completion) {
    auto* dialog = new QFileDialog(nullptr, panel.title);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setOption(QFileDialog::HideNameFilterDetails);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    QStringList patterns;
    for (const QString& type : panel.fileTypes) patterns.append(caseInsensitivePattern(type));
    dialog->setNameFilter(QStringLiteral("Supported files (") + patterns.join(u' ') + ")");
    QObject::connect(dialog, &QFileDialog::finished, dialog,
                     [dialog, completion = std::move(completion)](int result) {
                         const QStringList files = dialog->selectedFiles();
                         const bool ok = result == QDialog::Accepted;
                         completion(ok, ok && !files.isEmpty() ? files.first() : QString());
                     });
    dialog->show();
}

std::optional<QString> FileDialogPanels::runSavePanel(const SavePanel& panel) {
    QFileDialog dialog(nullptr, panel.title);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setWindowModality(Qt::ApplicationModal);
    if (!panel.folder.isEmpty()) dialog.setDirectory(panel.folder);
    dialog.selectFile(panel.proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first();
}
