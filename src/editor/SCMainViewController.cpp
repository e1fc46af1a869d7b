#include "editor/SCMainViewController.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTextDocument>

#include "common/AppVariables.h"
#include "editor/DocumentOpening.h"
#include "editor/EditingActions.h"
#include "editor/EditingDelegates.h"
#include "editor/ImagePopoverActions.h"
#include "editor/ImageSubPopover.h"
#include "editor/LinesTableDelegate.h"
#include "editor/LinesTableRowHeights.h"
#include "editor/RetiredQueues.h"
#include "editor/SCViewControllerSRT.h"
#include "editor/SubtitleLinesTableModel.h"
#include "editor/SubtitleStylesTableModel.h"
#include "editor/UpdatesSuspended.h"
#include "editor/ViewControlBindings.h"
#include "encodings/myEncodings.h"
#include "formatting/SCStyle.h"
#include "tools/ApplicationContext.h"
#include "tools/SCPreferences.h"

namespace {

constexpr double kStyleRowHeight = 18.0;

}  // namespace

SCMainViewController::SCMainViewController(QObject* parent)
    : QObject(parent),
      encodingNamesList_(myEncodings::allNames()),
      dColumnWidth_(float(AppVariables::dialogTableColumnWidth - 20.0)),
      viewControllerQueue_(
          std::make_unique<platform::OperationQueue>(QStringLiteral("viewController Queue"), 1)),
      timeValidator_(std::make_unique<SCTimeValidator>()),
      documentOpening_(std::make_unique<DocumentOpening>(*this)) {}

SCMainViewController::~SCMainViewController() {
    // The view's widgets report to this object while they go.
    if (view_) view_->removeEventFilter(this);
    rowHeights_.reset();
    delete view_.data();
    // Queued reads stop before their next read; nobody waits for them here.
    documentOpening_.reset();
    RetiredQueues::retire(std::move(viewControllerQueue_));
}

// --- Stored state ------------------------------------------------------------------

void SCMainViewController::setViewWindowController(ViewWindowController* controller) {
    viewWindowController_ = controller;
}

void SCMainViewController::setViewSubtitle(std::shared_ptr<SCSubtitle> subtitle) {
    if (viewSubtitle_) viewSubtitle_->disconnect(this);
    viewSubtitle_ = std::move(subtitle);
    if (viewSubtitle_) {
        connect(viewSubtitle_.get(), &SCSubtitle::subtitleStylesArrayChanged, this,
                &SCMainViewController::subtitleStylesNamesListChanged);
        connect(viewSubtitle_.get(), &SCSubtitle::isImageBasedChanged, this,
                &SCMainViewController::updatePictureButton);
    }
    updatePictureButton();
    if (subtitleTableController_) subtitleTableController_->setSubtitle(viewSubtitle_);
    if (stylesTableController_) stylesTableController_->setSubtitle(viewSubtitle_);
    emit viewSubtitleChanged();
    emit subtitleStylesNamesListChanged();
}

void SCMainViewController::setShouldSpellCheck(bool value) {
    shouldSpellCheck_ = value;
    emit shouldSpellCheckChanged();
    const double width = AppVariables::dialogTableColumnWidth;
    setDColumnWidth(float(value ? width - 20.0 : width - 3.0));
    setSColumnWidth(value ? 15.0f : 0.0f);
}

void SCMainViewController::setDColumnWidth(float value) {
    dColumnWidth_ = value;
    emit dColumnWidthChanged();
    applyColumnWidths();
    reloadData();
}

void SCMainViewController::setSColumnWidth(float value) {
    sColumnWidth_ = value;
    emit sColumnWidthChanged();
    applyColumnWidths();
    reloadData();
}

void SCMainViewController::setImportEncoding(const QString& name) {
    const QString previous = importEncoding_;
    importEncoding_ = name;
    emit importEncodingChanged();
    if (updateImportEncodingSilently_) {
        updateImportEncodingSilently_ = false;
        return;
    }
    importEncodingDidChange(previous);
}

void SCMainViewController::importEncodingDidChange(const QString& previous) {
    documentOpening_->importEncodingDidChange(previous);
}

void SCMainViewController::setTimeAdjustDirection(const QString& value) {
    timeAdjustDirection_ = value;
    emit timeAdjustDirectionChanged();
}

void SCMainViewController::setTimeAdjustTextSRT(const QString& value) {
    timeAdjustTextSRT_ = value;
    emit timeAdjustTextSRTChanged();
}

void SCMainViewController::setTimeAdjustTextASS(const QString& value) {
    timeAdjustTextASS_ = value;
    emit timeAdjustTextASSChanged();
}

// --- Computed state ----------------------------------------------------------------

bool SCMainViewController::isSRTView() const {
    return qobject_cast<const SCViewControllerSRT*>(this) != nullptr;
}

QString SCMainViewController::dialogText() const {
    const SCSubtitleLineList lines = selectedLines();
    if (lines.isEmpty()) return QString();
    return isSRTView() ? lines.first()->unformattedTextSRT() : lines.first()->unformattedTextASS();
}

void SCMainViewController::setDialogText(const QString& text) {
    const SCSubtitleLineList lines = selectedLines();
    if (lines.size() == 1) {
        if (isSRTView())
            lines.first()->setUnformattedTextSRT(text);
        else
            lines.first()->setUnformattedTextASS(text);
    }
    emit dialogTextChanged();
}

std::shared_ptr<SCPreferences> SCMainViewController::appPreferences() {
    return ApplicationContext::appPreferences();
}

QStringList SCMainViewController::subtitleStylesNamesList() const {
    QStringList names;
    const SCStyleList styles = stylesTableController_ ? stylesTableController_->arrangedObjects()
                               : viewSubtitle_        ? viewSubtitle_->subtitleStylesArray()
                                                      : SCStyleList{};
    for (const auto& style : styles) names.append(style->Name());
    return names;
}

void SCMainViewController::setSubtitleStylesNamesList(const QStringList&) {
    emit subtitleStylesNamesListChanged();
}

// --- Life cycle --------------------------------------------------------------------

QWidget* SCMainViewController::view() {
    if (!view_) {
        auto* widget = new QWidget;
        setUpLayout(widget);
        view_ = widget;
        connectOutlets();
        ViewControlBindings::connectActions(*this, view_);
        bindControls();
        layoutDidLoad();
        viewDidLoad();
    }
    return view_;
}

void SCMainViewController::viewDidLoad() {
    const auto preferences = appPreferences();
    const QVariantMap panel = preferences->preferencePanelDictionary().value_or(
        preferences->preferencePanelDefaultsDictionary());
    const QVariant name = panel.value(QStringLiteral("importEncoding"));
    if (name.typeId() != QMetaType::QString) return;
    setUpdateImportEncodingSilently(true);
    setImportEncoding(name.toString());
}

void SCMainViewController::viewDidAppear() {
    if (!dialogTextView_) return;
    QTextOption centred = dialogTextView_->document()->defaultTextOption();
    centred.setAlignment(Qt::AlignHCenter);
    dialogTextView_->document()->setDefaultTextOption(centred);
    QFont font = QApplication::font();
    font.setPointSizeF(13.0);
    dialogTextView_->setFont(font);
}

void SCMainViewController::connectOutlets() {
    subtitleTable_ = view_->findChild<QTableView*>(QStringLiteral("subtitleTable"));
    stylesTable_ = view_->findChild<QTableView*>(QStringLiteral("stylesTable"));
    dialogTextView_ = view_->findChild<QPlainTextEdit*>(QStringLiteral("dialogTextView"));
    dialogScrollView_ = view_->findChild<QFrame*>(QStringLiteral("dialogScrollView"));
    imageSubPopover_ = new ImageSubPopover(view_);
    imageSubView_ = imageSubPopover_->contentView();
    imageSubImageview_ = imageSubPopover_->imageView();

    subtitleTableController_ = new SubtitleLinesTableModel(isSRTView(), this);
    subtitleTable_->setModel(subtitleTableController_);
    subtitleTableController_->setSelectionModel(subtitleTable_->selectionModel());
    linesDelegate_ = new LinesTableDelegate(this, subtitleTable_);
    subtitleTable_->setItemDelegate(linesDelegate_);
    subtitleTable_->setWordWrap(true);
    subtitleTable_->setEditTriggers(QAbstractItemView::DoubleClicked |
                                    QAbstractItemView::EditKeyPressed);
    subtitleTable_->verticalHeader()->hide();
    subtitleTable_->horizontalHeader()->setStretchLastSection(true);
    rowHeights_ = std::make_unique<LinesTableRowHeights>(subtitleTable_, subtitleTableController_,
                                                         linesDelegate_);
    connect(subtitleTable_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &SCMainViewController::tableViewSelectionDidChange);
    // A new list clears the selection without a selection signal.
    connect(subtitleTableController_, &QAbstractItemModel::modelReset, this,
            &SCMainViewController::tableViewSelectionDidChange);
    connect(subtitleTableController_, &SubtitleLinesTableModel::includeCheckBoxToggled, this,
            &SCMainViewController::excludeLineCheckBox);
    // A picture import adds its lines while the popover is up: with nothing
    // selected it shows the first line's picture once there is one.
    connect(subtitleTableController_, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first) {
                if (first == 0) refreshPopoverPicture();
            });

    stylesTableController_ = new SubtitleStylesTableModel(this);
    stylesTable_->setModel(stylesTableController_);
    stylesTableController_->setSelectionModel(stylesTable_->selectionModel());
    stylesTable_->verticalHeader()->hide();
    stylesTable_->verticalHeader()->setDefaultSectionSize(int(kStyleRowHeight));
    stylesTable_->verticalHeader()->setMinimumSectionSize(1);
    stylesTable_->horizontalHeader()->setStretchLastSection(true);
    stylesTable_->horizontalHeader()->resizeSection(SubtitleStylesTableModel::stateColumn, 24);
    connect(stylesTable_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { selectedStyleDidChange(); });
    connect(stylesTableController_, &QAbstractItemModel::modelReset, this,
            [this] { selectedStyleDidChange(); });
    connect(stylesTableController_, &SubtitleStylesTableModel::stateCheckBoxToggled, this,
            &SCMainViewController::includeStyleCheckBox);

    subtitleTableController_->setSubtitle(viewSubtitle_);
    stylesTableController_->setSubtitle(viewSubtitle_);
    applyColumnWidths();
    view_->installEventFilter(this);
}

void SCMainViewController::bindControls() {
    ViewControlBindings::bind(*this, view_);
    const auto timeFields = {QStringLiteral("timeFieldSRT"), QStringLiteral("timeFieldASS")};
    for (const QString& name : timeFields)
        if (auto* field = view_->findChild<QLineEdit*>(name)) {
            connect(field, &QLineEdit::textEdited, this,
                    [this, field] { controlTextDidChange(field); });
            field->installEventFilter(this);
        }
    connect(dialogTextView_, &QPlainTextEdit::textChanged, this, [this] {
        if (!showingDialogText_) setDialogText(dialogTextView_->toPlainText());
    });
    connect(this, &SCMainViewController::dialogTextChanged, this,
            &SCMainViewController::showDialogTextInEditor);
    showDialogTextInEditor();
    updatePictureButton();
}

void SCMainViewController::updatePictureButton() {
    // Only a picture subtitle's lines have pictures to show.
    if (!view_) return;
    if (auto* button = view_->findChild<QAbstractButton*>(QStringLiteral("imageSubButton")))
        button->setEnabled(viewSubtitle_ && viewSubtitle_->isImageBased());
}

bool SCMainViewController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_ && event->type() == QEvent::Show) {
        viewDidAppear();
    } else if (event->type() == QEvent::FocusIn) {
        if (auto* field = qobject_cast<QLineEdit*>(watched))
            controlTextShouldBeginEditing(field->text());
    }
    return QObject::eventFilter(watched, event);
}

// --- Tables ------------------------------------------------------------------------

SCSubtitleLineList SCMainViewController::selectedLines() const {
    return subtitleTableController_ ? subtitleTableController_->selectedObjects()
                                    : SCSubtitleLineList{};
}

int SCMainViewController::selectedRow() const {
    if (!subtitleTable_) return -1;
    const QItemSelectionModel* selection = subtitleTable_->selectionModel();
    const QModelIndex current = selection->currentIndex();
    if (current.isValid() && selection->isRowSelected(current.row(), QModelIndex()))
        return current.row();
    const QModelIndexList rows = selection->selectedRows();
    return rows.isEmpty() ? -1 : rows.last().row();
}

int SCMainViewController::rowOfLine(const SCSubtitleLine* line) const {
    if (!subtitleTableController_ || !line) return -1;
    const SCSubtitleLineList& lines = subtitleTableController_->lines();
    for (qsizetype row = 0; row < lines.size(); ++row)
        if (lines[row].get() == line) return int(row);
    return -1;
}

void SCMainViewController::reloadData() {
    if (!subtitleTableController_) return;
    subtitleTableController_->reloadData();
    rowHeights_->applyRowHeights(0, subtitleTableController_->rowCount() - 1);
}

void SCMainViewController::reloadRows(const QList<int>& rows) {
    if (heldReloads_) {
        for (int row : rows) heldReloads_->include(row);
        return;
    }
    if (subtitleTableController_) subtitleTableController_->reloadRows(rows);
}

void SCMainViewController::noteHeightOfRows(const QList<int>& rows) {
    if (rowHeights_) rowHeights_->noteHeightOfRows(rows);
}

double SCMainViewController::heightOfRow(const QTableView* table, int row) const {
    if (!table || table != subtitleTable_ || !rowHeights_) return kStyleRowHeight;
    return rowHeights_->heightOfRow(row);
}

void SCMainViewController::applyColumnWidths() {
    if (!subtitleTable_) return;
    QHeaderView* header = subtitleTable_->horizontalHeader();
    header->resizeSection(SubtitleLinesTableModel::includeColumn, 24);
    header->resizeSection(SubtitleLinesTableModel::numberColumn, 48);
    header->resizeSection(SubtitleLinesTableModel::startColumn, 96);
    header->resizeSection(SubtitleLinesTableModel::endColumn, 96);
    header->resizeSection(SubtitleLinesTableModel::dialogColumn, qRound(dColumnWidth_));
    header->resizeSection(SubtitleLinesTableModel::spellColumn, qRound(sColumnWidth_));
    subtitleTable_->setColumnHidden(SubtitleLinesTableModel::spellColumn, sColumnWidth_ <= 0.0f);
}

void SCMainViewController::tableViewSelectionDidChange() {
    const SCSubtitleLineList lines = selectedLines();
    watchShownLine(lines.isEmpty() ? nullptr : lines.first().get());
    if (lines.isEmpty())
        setDialogText(QString());
    else
        setDialogText(isSRTView() ? lines.first()->unformattedTextSRT()
                                  : lines.first()->unformattedTextASS());
    refreshPopoverPicture();
}

void SCMainViewController::watchShownLine(SCSubtitleLine* line) {
    for (const QMetaObject::Connection& connection : shownLineConnections_) disconnect(connection);
    shownLineConnections_.clear();
    if (!line) return;
    // The editor shows this line's text, so every change of it is shown
    // there too, whatever made it (a table cell, an action, a re-read):
    // typing in a stale editor would write the old text back over it.
    for (auto changed :
         {&SCSubtitleLine::unformattedTextSRTChanged, &SCSubtitleLine::unformattedTextASSChanged})
        shownLineConnections_.append(
            connect(line, changed, this, &SCMainViewController::dialogTextChanged));
}

void SCMainViewController::showDialogTextInEditor() {
    if (!dialogTextView_) return;
    const QString text = dialogText();
    if (dialogTextView_->toPlainText() != text) {
        showingDialogText_ = true;
        dialogTextView_->setPlainText(text);
        showingDialogText_ = false;
    }
    // Typing is kept only where it can be stored: one selected line.
    dialogTextView_->setReadOnly(selectedLines().size() != 1);
}

// --- Delegates ---------------------------------------------------------------------

void SCMainViewController::controlTextDidChange(QLineEdit* field) {
    EditingDelegates::controlTextDidChange(*this, field);
}

bool SCMainViewController::doCommandBy(QPlainTextEdit* textView, const QString& command) {
    return EditingDelegates::doCommandBy(*this, textView, command);
}

void SCMainViewController::controlTextShouldBeginEditing(const QString& text) {
    timeValidator_->setOldText(text);
}

// --- Picture popover ---------------------------------------------------------------

QWidget* SCMainViewController::imageSubPopoverAnchor() const {
    return ImagePopoverActions::anchor(*this);
}

void SCMainViewController::showImageSubPopover(QObject*) {
    ImagePopoverActions::show(*this);
}

void SCMainViewController::closeImageSubPopover(QObject*) {
    if (imageSubPopover_) imageSubPopover_->close();
}

void SCMainViewController::toggleImageSubPopoverZoom(QObject*) {
    ImagePopoverActions::toggleZoom(*this);
}

void SCMainViewController::refreshPopoverPicture() {
    ImagePopoverActions::showSelectedPicture(*this);
}

// --- Rows ---------------------------------------------------------------------------

void SCMainViewController::selectOnlyRow(int row, bool scroll) {
    if (!subtitleTable_ || row < 0 || row >= subtitleTableController_->rowCount()) return;
    const QModelIndex index = subtitleTableController_->index(row, 0);
    // Through the selection model: the table's own selectRow scrolls.
    subtitleTable_->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    if (scroll) subtitleTable_->scrollTo(index);
}

void SCMainViewController::forEachRowSuspended(
    const std::function<void(int row, SCSubtitleLine& line)>& step) {
    if (!subtitleTableController_) return;
    // The steps' row notes are gathered and applied once at the end: the
    // same rows, measured and redrawn, without one notice per line.
    const UpdatesSuspended suspended(subtitleTable_);
    rowHeights_->holdBack();
    heldReloads_.emplace();
    const SCSubtitleLineList lines = subtitleTableController_->lines();
    for (qsizetype row = 0; row < lines.size(); ++row) step(int(row), *lines[row]);
    const HeldRows reloads = *std::exchange(heldReloads_, std::nullopt);
    rowHeights_->release();
    if (reloads.first >= 0) subtitleTableController_->reloadRange(reloads.first, reloads.last);
}

// --- Reading and actions ----------------------------------------------------------

void SCMainViewController::openSubtitleURL(const QUrl& url) {
    documentOpening_->openSubtitleURL(url);
}

void SCMainViewController::reinitializeSubtitleWithEncoding(const QString& name, bool withAlerts) {
    documentOpening_->reinitializeSubtitleWithEncoding(name, withAlerts);
}

void SCMainViewController::setSubtitleReads(std::shared_ptr<SubtitleReads> reads) {
    documentOpening_->setReads(std::move(reads));
}

void SCMainViewController::cycleEncodingsButton(QObject*) {
    documentOpening_->cycleEncodingsButton();
}

void SCMainViewController::excludeLineCheckBox(int row) {
    EditingActions::excludeLineCheckBox(*this, row);
}

void SCMainViewController::includeStyleCheckBox(int row) {
    EditingActions::includeStyleCheckBox(*this, row);
}

void SCMainViewController::textStyleButtonClicked(QObject* sender) {
    EditingActions::textStyleButtonClicked(*this, sender);
}

void SCMainViewController::nextLineButtonClicked(QObject*) {
    EditingActions::nextLine(*this);
}

void SCMainViewController::previousLineButtonClicked(QObject*) {
    EditingActions::previousLine(*this);
}

namespace {

QString titleOf(QObject* sender) {
    const auto* button = qobject_cast<const QAbstractButton*>(sender);
    return button ? button->text() : QString();
}

}  // namespace

void SCMainViewController::allNoneStylesButton(QObject* sender) {
    EditingActions::allNoneStylesButton(*this, titleOf(sender));
}

void SCMainViewController::cleanTextLineButton(QObject*) {
    EditingActions::cleanTextLine(*this);
}

void SCMainViewController::cleanTextAllButton(QObject*) {
    EditingActions::cleanTextAll(*this);
}

void SCMainViewController::resetLineButtons(QObject* sender) {
    EditingActions::resetLine(*this, titleOf(sender));
}

void SCMainViewController::resetAllButtons(QObject* sender) {
    EditingActions::resetAll(*this, titleOf(sender));
}

void SCMainViewController::timeShiftButton(QObject*) {
    EditingActions::timeShift(*this);
}

void SCMainViewController::timeStretchButton(QObject*) {
    EditingActions::timeStretch(*this);
}
