#pragma once

#include <QFrame>
#include <QLabel>
#include <QList>
#include <QObject>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRectF>
#include <QStringList>
#include <QTableView>
#include <algorithm>
#include <memory>
#include <optional>

#include "document/SCSubtitle.h"
#include "editor/HeldRows.h"
#include "editor/ImageSubPopover.h"
#include "editor/SCTimeValidator.h"
#include "editor/SubtitleLinesTableModel.h"
#include "editor/SubtitleStylesTableModel.h"
#include "editor/ViewWindowController.h"
#include "platform/OperationQueue.h"

class DocumentOpening;
class LinesTableDelegate;
class LinesTableRowHeights;
class SubtitleReads;
class QLineEdit;
class SCPreferences;

// The editing view of a document window: the lines table, the styles table,
// the dialog editor of the selected line, the encoding pop-up, the picture
// popover and the time-adjust fields. Made only as SCViewControllerSRT or
// SCViewControllerASS; code shared by the two tells them apart by class.
//
// Life cycle, for the window controller that owns the view:
//   1. make the view, then set `viewWindowController` and `viewSubtitle`;
//   2. `view()` loads the layout on first use and runs `viewDidLoad`
//      (the import encoding taken silently from the preferences);
//   3. `openSubtitleURL` once the window has loaded;
//   4. on `dialogChanged` (the line is the notification's object), find
//      the row with `rowOfLine` and call `noteHeightOfRows` and
//      `reloadRows` for it;
//   5. on a tab switch: `setUpdateImportEncodingSilently(true)`, then
//      `setImportEncoding(name)`, then `reloadData` and the old selection.
// Everything runs on the main thread.
class SCMainViewController : public QObject {
    Q_OBJECT
    Q_PROPERTY(SCSubtitle* viewSubtitle READ viewSubtitlePointer NOTIFY viewSubtitleChanged)
    Q_PROPERTY(QRectF zoomedOutImageViewRect READ zoomedOutImageViewRect CONSTANT)
    Q_PROPERTY(QRectF zoomedInImageViewRect READ zoomedInImageViewRect CONSTANT)
    Q_PROPERTY(
        bool imageSubViewIsZoomedIn READ imageSubViewIsZoomedIn WRITE setImageSubViewIsZoomedIn)
    Q_PROPERTY(QStringList encodingNamesList READ encodingNamesList CONSTANT)
    Q_PROPERTY(bool updateImportEncodingSilently READ updateImportEncodingSilently WRITE
                   setUpdateImportEncodingSilently)
    Q_PROPERTY(bool shouldSpellCheck READ shouldSpellCheck WRITE setShouldSpellCheck NOTIFY
                   shouldSpellCheckChanged)
    Q_PROPERTY(
        float dColumnWidth READ dColumnWidth WRITE setDColumnWidth NOTIFY dColumnWidthChanged)
    Q_PROPERTY(
        float sColumnWidth READ sColumnWidth WRITE setSColumnWidth NOTIFY sColumnWidthChanged)
    Q_PROPERTY(QString importEncoding READ importEncoding WRITE setImportEncoding NOTIFY
                   importEncodingChanged)
    Q_PROPERTY(QString timeAdjustDirection READ timeAdjustDirection WRITE setTimeAdjustDirection
                   NOTIFY timeAdjustDirectionChanged)
    Q_PROPERTY(QString timeAdjustTextSRT READ timeAdjustTextSRT WRITE setTimeAdjustTextSRT NOTIFY
                   timeAdjustTextSRTChanged)
    Q_PROPERTY(QString timeAdjustTextASS READ timeAdjustTextASS WRITE setTimeAdjustTextASS NOTIFY
                   timeAdjustTextASSChanged)
    Q_PROPERTY(QString dialogText READ dialogText WRITE setDialogText NOTIFY dialogTextChanged)
    Q_PROPERTY(QStringList subtitleStylesNamesList READ subtitleStylesNamesList WRITE
                   setSubtitleStylesNamesList NOTIFY subtitleStylesNamesListChanged)

  public:
    ~SCMainViewController() override;

    // --- Stored state, initial values in the class's own order.
    ViewWindowController* viewWindowController() const { return viewWindowController_; }
    void setViewWindowController(ViewWindowController* controller);
    const std::shared_ptr<SCSubtitle>& viewSubtitle() const { return viewSubtitle_; }
    SCSubtitle* viewSubtitlePointer() const { return viewSubtitle_.get(); }
    // Rebinds the tables to the new document.
    void setViewSubtitle(std::shared_ptr<SCSubtitle> subtitle);

    // Outlets: null until the layout has loaded.
    SubtitleLinesTableModel* subtitleTableController() const { return subtitleTableController_; }
    QTableView* subtitleTable() const { return subtitleTable_; }
    SubtitleStylesTableModel* stylesTableController() const { return stylesTableController_; }
    QTableView* stylesTable() const { return stylesTable_; }
    ImageSubPopover* imageSubPopover() const { return imageSubPopover_; }
    QWidget* imageSubView() const { return imageSubView_; }
    QLabel* imageSubImageview() const { return imageSubImageview_; }
    QPlainTextEdit* dialogTextView() const { return dialogTextView_; }
    QFrame* dialogScrollView() const { return dialogScrollView_; }

    // Frames of the picture in the popover, bottom-left origin.
    static QRectF zoomedOutImageViewRect() { return {66, -5, 352, 198}; }
    static QRectF zoomedInImageViewRect() { return {-50, 60, 608, 342}; }
    bool imageSubViewIsZoomedIn() const { return imageSubViewIsZoomedIn_; }
    void setImageSubViewIsZoomedIn(bool value) { imageSubViewIsZoomedIn_ = value; }
    const QStringList& encodingNamesList() const { return encodingNamesList_; }
    bool updateImportEncodingSilently() const { return updateImportEncodingSilently_; }
    void setUpdateImportEncodingSilently(bool value) { updateImportEncodingSilently_ = value; }
    bool shouldSpellCheck() const { return shouldSpellCheck_; }
    void setShouldSpellCheck(bool value);
    float dColumnWidth() const { return dColumnWidth_; }
    void setDColumnWidth(float value);
    float sColumnWidth() const { return sColumnWidth_; }
    void setSColumnWidth(float value);
    QString importEncoding() const { return importEncoding_; }
    // Every assignment is announced and then handled: a silent update only
    // clears the flag; otherwise the document is read again in the name.
    void setImportEncoding(const QString& name);
    platform::OperationQueue& viewControllerQueue() const { return *viewControllerQueue_; }
    QString timeAdjustDirection() const { return timeAdjustDirection_; }
    void setTimeAdjustDirection(const QString& value);
    QString timeAdjustTextSRT() const { return timeAdjustTextSRT_; }
    void setTimeAdjustTextSRT(const QString& value);
    QString timeAdjustTextASS() const { return timeAdjustTextASS_; }
    void setTimeAdjustTextASS(const QString& value);
    SCTimeValidator& timeValidator() const { return *timeValidator_; }

    // --- Computed state.
    // The first selected line's text in the view's form; "" with none.
    QString dialogText() const;
    // Written to the line only when exactly one line is selected.
    void setDialogText(const QString& text);
    static std::shared_ptr<SCPreferences> appPreferences();
    QStringList subtitleStylesNamesList() const;
    // Accepted and ignored.
    void setSubtitleStylesNamesList(const QStringList& names);

    // True for the SRT form, by class.
    bool isSRTView() const;

    // --- Life cycle.
    // Loads the layout on first use, then runs viewDidLoad.
    QWidget* view();
    bool isViewLoaded() const { return view_ != nullptr; }

    // --- Table services for the window controller and the actions.
    // The selected lines in table order; the last selected row (-1: none).
    SCSubtitleLineList selectedLines() const;
    int selectedRow() const;
    // The row of a line, found by looking the line up; -1 when not shown.
    int rowOfLine(const SCSubtitleLine* line) const;
    // Every cell read again, row heights applied again; the selection stays.
    void reloadData();
    void reloadRows(const QList<int>& rows);
    // Asks the rows' heights again and applies them, updates suspended.
    void noteHeightOfRows(const QList<int>& rows);
    // The height of a row of the lines table (the line's measured height,
    // or what an open dialog editor needs) or of the styles table (18).
    double heightOfRow(const QTableView* table, int row) const;

    // What the picture popover stands beside: the Picture button.
    QWidget* imageSubPopoverAnchor() const;

    // Makes the row the only selected one (the current row too), scrolling
    // it into view when asked; the selection handler runs.
    void selectOnlyRow(int row, bool scroll);
    // Runs the step on every line with its row, the table's drawing held
    // back until the end.
    void forEachRowSuspended(const std::function<void(int row, SCSubtitleLine& line)>& step);

    // --- Reading the document (on the view's queue; see DocumentOpening).
    // Once the window has loaded: the encoding taken silently from the
    // preferences, then the file read by the document's type; a text file
    // that no encoding reads ends in the "Can Not Open" sheet, whose answer
    // posts `subInitializationError` (object: this view; "theWindow": the
    // window as a QObject*).
    void openSubtitleURL(const QUrl& url);
    // Reads the file again in the name; a failure shows a sheet (with
    // alerts) and goes back to the encoding that last read the file.
    void reinitializeSubtitleWithEncoding(const QString& name, bool withAlerts);
    // Replaces the document reads (tests count, slow and watch them).
    void setSubtitleReads(std::shared_ptr<SubtitleReads> reads);
    DocumentOpening& documentOpening() const { return *documentOpening_; }

    // The check boxes of the two tables, after they wrote the new state.
    void excludeLineCheckBox(int row);
    void includeStyleCheckBox(int row);

    // --- Delegate entry points (called by the layout's controls).
    // Editing of a field begins: the validator compares with its text.
    void controlTextShouldBeginEditing(const QString& text);
    // A time field's text changed: a cell of columns 2 or 3 of the lines
    // table (validated in the view's form, then a conflict search), or a
    // field named "timeFieldSRT" or "timeFieldASS" (validated in its own
    // form). Anything else is ignored.
    void controlTextDidChange(QLineEdit* field);
    // "insertNewline:" and "deleteBackward:" in a dialog cell editor: done
    // here, and the row is measured again. False for every other command.
    bool doCommandBy(QPlainTextEdit* textView, const QString& command);

  public slots:
    // Actions of the layout's controls; the sender is the control.
    void showImageSubPopover(QObject* sender = nullptr);
    void closeImageSubPopover(QObject* sender = nullptr);
    void toggleImageSubPopoverZoom(QObject* sender = nullptr);
    void cycleEncodingsButton(QObject* sender = nullptr);
    void textStyleButtonClicked(QObject* sender = nullptr);
    void nextLineButtonClicked(QObject* sender = nullptr);
    void previousLineButtonClicked(QObject* sender = nullptr);
    void allNoneStylesButton(QObject* sender = nullptr);
    void cleanTextLineButton(QObject* sender = nullptr);
    void cleanTextAllButton(QObject* sender = nullptr);
    void resetLineButtons(QObject* sender = nullptr);
    void resetAllButtons(QObject* sender = nullptr);
    void timeShiftButton(QObject* sender = nullptr);
    void timeStretchButton(QObject* sender = nullptr);

    virtual void viewDidLoad();
    virtual void viewDidAppear();

  signals:
    void viewSubtitleChanged();
    void shouldSpellCheckChanged();
    void dColumnWidthChanged();
    void sColumnWidthChanged();
    void importEncodingChanged();
    void timeAdjustDirectionChanged();
    void timeAdjustTextSRTChanged();
    void timeAdjustTextASSChanged();
    void dialogTextChanged();
    void subtitleStylesNamesListChanged();

  protected:
    explicit SCMainViewController(QObject* parent = nullptr);

    // Builds the layout into the (empty) view widget.
    virtual void setUpLayout(QWidget* view) = 0;
    // After the outlets are connected, before viewDidLoad.
    virtual void layoutDidLoad() {}
    // The first selected style changed (the ASS view's style editor).
    virtual void selectedStyleDidChange() {}

    // What a non-silent change of `importEncoding` does.
    virtual void importEncodingDidChange(const QString& previous);

    // The selection handler of the lines table.
    void tableViewSelectionDidChange();

    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void connectOutlets();
    void bindControls();
    void applyColumnWidths();
    // Follows the text of the line the dialog editor shows (none: nothing).
    void watchShownLine(SCSubtitleLine* line);
    void showDialogTextInEditor();
    void refreshPopoverPicture();
    void updatePictureButton();

    // 1-25, in order.
    QPointer<ViewWindowController> viewWindowController_;
    std::shared_ptr<SCSubtitle> viewSubtitle_;
    QPointer<SubtitleLinesTableModel> subtitleTableController_;
    QPointer<QTableView> subtitleTable_;
    QPointer<SubtitleStylesTableModel> stylesTableController_;
    QPointer<QTableView> stylesTable_;
    QPointer<ImageSubPopover> imageSubPopover_;
    QPointer<QWidget> imageSubView_;
    QPointer<QLabel> imageSubImageview_;
    QPointer<QPlainTextEdit> dialogTextView_;
    QPointer<QFrame> dialogScrollView_;
    bool imageSubViewIsZoomedIn_ = true;
    QStringList encodingNamesList_;
    bool updateImportEncodingSilently_ = false;
    bool shouldSpellCheck_ = true;
    float dColumnWidth_;
    float sColumnWidth_ = 15.0f;
    QString importEncoding_ = QStringLiteral("UTF8");
    std::unique_ptr<platform::OperationQueue> viewControllerQueue_;
    QString timeAdjustDirection_ = QStringLiteral("Forward");
    QString timeAdjustTextSRT_ = QStringLiteral("00:00:00,000");
    QString timeAdjustTextASS_ = QStringLiteral("0:00:00.00");
    std::unique_ptr<SCTimeValidator> timeValidator_;

    QPointer<QWidget> view_;
    LinesTableDelegate* linesDelegate_ = nullptr;
    // Made with the lines table; ended before the view's widgets go.
    std::unique_ptr<LinesTableRowHeights> rowHeights_;
    // Rows reloaded while forEachRowSuspended runs, reloaded at its end.
    std::optional<HeldRows> heldReloads_;
    std::unique_ptr<DocumentOpening> documentOpening_;
    bool showingDialogText_ = false;
    QList<QMetaObject::Connection> shownLineConnections_;
};
