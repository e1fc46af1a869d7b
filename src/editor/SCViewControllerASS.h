#pragma once

#include <QStringList>

#include "editor/SCMainViewController.h"

class StyleEditorBinding;

// The ASS form of the editing view (layout "ViewASS"): ASS texts, tags and
// times, and an editor for the selected style.
class SCViewControllerASS : public SCMainViewController {
    Q_OBJECT
    Q_PROPERTY(QStringList availableFontsList READ availableFontsList CONSTANT)

  public:
    explicit SCViewControllerASS(QObject* parent = nullptr);
    ~SCViewControllerASS() override;

    // The installed font families, taken once when the view is made.
    const QStringList& availableFontsList() const { return availableFontsList_; }

  public slots:
    void assTestButton(QObject* sender = nullptr);
    // The first selected style's colours, with Outline and Shadow, or its
    // font settings, as read from the file; nothing with no style selected.
    void resetColorsButton(QObject* sender = nullptr);
    void resetFontButton(QObject* sender = nullptr);

  protected:
    void setUpLayout(QWidget* view) override;
    void layoutDidLoad() override;
    void selectedStyleDidChange() override;

  private:
    void bindLineStylePopUp();

    QStringList availableFontsList_;
    std::unique_ptr<StyleEditorBinding> styleEditor_;
};
