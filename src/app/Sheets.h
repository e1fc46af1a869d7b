#pragma once

#include <QString>
#include <functional>

class QMessageBox;
class QWidget;

// The window's alert sheets: warning boxes modal to their window only, shown
// without waiting (`open`), answered through a callback; and the one
// application-wide question that must be answered before going on.
namespace Sheets {

// "OK" alone; `ended` runs once the box has been answered in any way.
QMessageBox* showWarning(QWidget* window, const QString& message, const QString& informative,
                         std::function<void()> ended = {});

// "OK" first (the default) and "Cancel"; `answered` gets true for "OK".
QMessageBox* askOnWindow(QWidget* window, const QString& message, const QString& informative,
                         std::function<void(bool ok)> answered);

// Application-modal, waits for the answer: true for "OK" (the first button).
bool askApplicationModal(const QString& message, const QString& informative);

}  // namespace Sheets
