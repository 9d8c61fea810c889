#pragma once
// The preview window (TfrPreviewForm) and the embedded preview control
// (TfrPreview): thin views over a PreviewSession. The window has a toolbar
// along the top (Zoom, Open, Save, Print, Page setup, Find, Help, Exit), the
// page box on a grey background with a vertical bar and page buttons on its
// right, and the page label, the status label and the horizontal bar along
// its bottom. The embedded control shows the same page area (and, when asked,
// the toolbar) inside another window.

#include "report/preview/preview_session.h"

#include <QDialog>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QActionGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QRadioButton;
class QScrollBar;
class QToolButton;

namespace pemvora::report {

class TfrReport;
class TfrExportFilter;
class PreviewArea;

// The page box (TfrPBox): paints the session, follows the mouse, drags the
// view.
class PreviewPageBox : public QWidget {
    Q_OBJECT
public:
    PreviewPageBox(PreviewSession& session, PreviewArea& area);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    PreviewSession& session_;
    PreviewArea& area_;
    bool dragging_ = false;
    bool ignoreNextClick_ = false;
    QPoint lastPosition_;
};

// The page area: the page box, the bars, the page buttons and the labels.
class PreviewArea : public QWidget {
    Q_OBJECT
public:
    explicit PreviewArea(PreviewSession& session, QWidget* parent = nullptr);

    PreviewSession& Session() const { return session_; }
    PreviewPageBox& PageBox() const { return *pageBox_; }
    QScrollBar& VerticalBar() const { return *vertical_; }
    QScrollBar& HorizontalBar() const { return *horizontal_; }
    QLabel& PageLabel() const { return *pageLabel_; }
    QLabel& StatusLabel() const { return *statusLabel_; }
    void ShowBars(bool vertical, bool horizontal);
    // The mouse wheel moves the vertical bar by its small step times this.
    int WheelMultiplier = 1;

    // The bars, labels and box from the session's state.
    void Sync();
    void SetStatus(const QString& text);

signals:
    // The page box was clicked with the right button.
    void contextMenuWanted(const QPoint& globalPosition);
    // A double click on a page (made current) asks to edit it.
    void editWanted();
    void pageChanged(int page);

private:
    PreviewSession& session_;
    PreviewPageBox* pageBox_;
    QScrollBar* vertical_;
    QScrollBar* horizontal_;
    QToolButton* pageUp_;
    QToolButton* pageDown_;
    QLabel* pageLabel_;
    QLabel* statusLabel_;
    QWidget* rightPanel_;
    QWidget* bottomPanel_;
    bool syncing_ = false;
};

// The find dialog (TfrPreviewSearchForm).
class TfrPreviewSearchForm : public QDialog {
    Q_OBJECT
public:
    explicit TfrPreviewSearchForm(QWidget* parent = nullptr);
    QLineEdit& TextEdit() const { return *text_; }
    bool CaseSensitive() const;
    bool FromFirstPage() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* text_;
    QCheckBox* caseSensitive_;
    QRadioButton* firstPage_;
};

// The toolbar, the zoom menu and the commands; the preview window and the
// embedded control each have one.
class PreviewCommands : public QObject {
    Q_OBJECT
public:
    // `inWindow`: the toolbar sits in the preview window itself (Help and Exit
    // can show). `close` is what Exit does.
    PreviewCommands(PreviewSession& session, PreviewArea& area, QWidget& toolbarParent, bool inWindow,
                    std::function<void()> close);

    QWidget& Toolbar() const { return *toolbar_; }
    QMenu& ZoomMenu() const { return *zoomMenu_; }
    QToolButton& ZoomButton() const { return *zoomButton_; }
    // Button visibility from the report's PreviewButtons, the zoom check, the
    // engine-wide zoom mode from InitialZoom.
    void ConfigureButtons();
    // Shows the view after the pages or the zoom changed.
    void Refresh();
    // Runs the command of a key; false when the key gives none.
    bool HandleKey(int key, Qt::KeyboardModifiers modifiers);
    QToolButton* Button(const char* name) const;

    void Zoom(int tag);
    void Open();
    void Save();
    void Print();
    void Find();
    void FindNext();
    void Help();
    void EditPage();
    void AddPage();
    void DeletePage();
    void PopupZoomMenu(const QPoint& globalPosition, bool withEditing);

    // A popup menu of the embedding window, shown on the right button instead
    // of the zoom menu.
    QPointer<QMenu> EmbeddingMenu;
    // The export filters Save offers after the prepared-report file (PDF).
    std::vector<std::function<std::unique_ptr<TfrExportFilter>()>> ExportFilters;

private:
    QToolButton* addButton(const char* name, const QString& text, const QString& hint, int style);
    void addSeparator(const char* name);
    bool editingAllowed() const;
    bool hasPrinters() const;
    void showFound(bool found);

    PreviewSession& session_;
    PreviewArea& area_;
    bool inWindow_;
    std::function<void()> close_;
    QWidget* toolbar_;
    QToolButton* zoomButton_;
    QMenu* zoomMenu_;
    QActionGroup* zoomGroup_;
    QAction* editSeparator_;
    QAction* editPage_;
    QAction* addPage_;
    QAction* deletePage_;
};

// The preview window.
class TfrPreviewForm : public QDialog {
    Q_OBJECT
public:
    explicit TfrPreviewForm(TfrReport& report, QWidget* parent = nullptr);
    ~TfrPreviewForm() override;

    // Shows the report's prepared pages: modal (returns when closed) when the
    // report's ModalPreview is on.
    void Show();

    PreviewSession& Session() { return session_; }
    PreviewArea& Area() const { return *area_; }
    PreviewCommands& Commands() const { return *commands_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void restoreGeometryFromSettings();
    void saveGeometryToSettings();

    PreviewSession session_;
    PreviewArea* area_;
    std::unique_ptr<PreviewCommands> commands_;
    bool geometryRestored_ = false;
};

// The embedded preview control.
class TfrPreview : public QWidget {
    Q_OBJECT
public:
    enum ScrollBarsKind { ssNone, ssHorizontal, ssVertical, ssBoth };
    explicit TfrPreview(QWidget* parent = nullptr);
    ~TfrPreview() override;

    ScrollBarsKind ScrollBars = ssBoth;
    bool ShowToolbar = false;
    // Shown on the right button instead of the zoom menu.
    QPointer<QMenu> PopupMenu;
    // Told the current page whenever the page label changes.
    std::function<void(TfrPreview& sender, int pageNo)> OnPageChanged;

    // Shows the report's prepared pages in the control.
    void Connect(TfrReport& report);
    // Lets the pages go (the report keeps them).
    void Disconnect();
    int CurrentPage() const;
    PreviewSession* Session() const { return session_.get(); }
    PreviewArea* Area() const { return area_; }
    PreviewCommands* Commands() const { return commands_.get(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<PreviewSession> session_;
    PreviewArea* area_ = nullptr;
    std::unique_ptr<PreviewCommands> commands_;
};

// Installs the preview window as the engine's preview presenter: a report's
// ShowPreparedReport then shows its pages in the report's embedded control
// when it has one, else in a preview window (modal while ModalPreview is on).
// Programs that show reports call it once at start-up.
void InstallPreview();

// The window title of a preview: "Preview", and " - " and the title when the
// report has one.
QString previewCaption(const TfrReport& report);

} // namespace pemvora::report
