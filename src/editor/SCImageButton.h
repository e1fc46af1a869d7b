#pragma once

#include <QCursor>
#include <QPushButton>
#include <optional>

// A push button with a cursor of its own over its whole bounds. Setting the
// cursor only stores it: it shows from the next rebuild of the button's
// cursor area (`resetCursorRects`, run when the button is shown or resized).
// Without one the button keeps its base's cursor.
class SCImageButton : public QPushButton {
    Q_OBJECT

  public:
    explicit SCImageButton(QWidget* parent = nullptr);

    const std::optional<QCursor>& cursor() const { return cursor_; }
    void setCursor(const std::optional<QCursor>& cursor) { cursor_ = cursor; }

    void resetCursorRects();

  protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    std::optional<QCursor> cursor_;
};
