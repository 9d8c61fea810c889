#pragma once
// DesignerDocument: the report the designer edits and every editing action on
// it, without widgets. Each action that changes the template is a command that
// records one undo entry (unless undo is disabled, which only marks the
// template modified). The window turns mouse and keys into these calls and
// repaints when the document says so; tests call them directly.
//
// Positions are design pixels of the current page. Texts given to and taken
// from the model are GBK; messages to the user go through the UI services.

#include "report/designer/designer_session.h"
#include "report/designer/undo_buffer.h"
#include "report/model/memo.h"
#include "report/model/objects.h"
#include "report/model/report.h"
#include "report/model/report_files.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace pemvora::report {

// Coarse notices for the views.
class DocumentObserver {
public:
    virtual ~DocumentObserver() = default;
    // The objects or the page changed: repaint.
    virtual void pageChanged() {}
    // The selection changed: refresh the inspector and the toolbars.
    virtual void selectionChanged() {}
    // Another page is shown, the page list, the document name or the modified flag changed.
    virtual void documentChanged() {}
};

struct GridSettings {
    bool Show = true;
    bool Align = true;
    int Size = 4;
};

// The designer options kept with the window's settings.
struct DesignerOptions {
    int Units = 0;                 // 0 pixels, 1 millimetres, 2 inches
    bool EditAfterInsert = true;
    bool UnlimitedHeight = false;
    bool DisableUndo = false;
    bool BandTitles = true;
    bool GrayButtons = false;
    bool LocalizedPropNames = false;
    bool SyntaxHighlight = true;
    int Selection = 1;
    int PagePosition = 5;
};

// What the window's file dialogs answer (GBK file names).
class DesignerFileDialogs {
public:
    virtual ~DesignerFileDialogs() = default;
    // nullopt: cancelled.
    virtual std::optional<std::string> openFileName(const std::string& startDir) = 0;
    virtual std::optional<std::string> saveFileName(const std::string& startDir, const std::string& proposed) = 0;
};

// The designer component's settings and events (TfrDesigner's published part).
struct DesignerHooks {
    bool CloseQuery = true;
    std::string OpenDir, SaveDir, TemplateDir;   // GBK
    // If set, replaces the open dialog: gets the report, returns whether to go
    // on and sets the file name.
    std::function<bool(TfrReport& report, std::string& fileName)> OnLoadReport;
    // If set, replaces writing the file: gets the report, the file name and
    // whether it is a "save as"; returns whether it saved.
    std::function<bool(TfrReport& report, const std::string& fileName, bool saveAs)> OnSaveReport;
};

// The objects the toolbars' actions change, and their codes.
namespace toolbaraction {
inline constexpr int TopFrame = 1, LeftFrame = 2, BottomFrame = 3, RightFrame = 4;
inline constexpr int FillColor = 5, FrameWidth = 6, FontName = 7, FontSize = 8;
inline constexpr int Bold = 9, Italic = 10;
inline constexpr int AlignLeft = 11, AlignRight = 12, AlignCenter = 13;
inline constexpr int Rotate = 14, VerticalAlign = 15, FontColor = 17, Underline = 18;
inline constexpr int FrameColor = 19, AllFrames = 20, NoFrame = 21, AlignJustify = 22;
inline constexpr int LineStyleFirst = 25, LineStyleLast = 30;
} // namespace toolbaraction

enum class Alignment {
    LeftEdges,
    HorizontalCenters,
    CenterInWindowHorizontally,
    SpaceEquallyHorizontally,
    RightEdges,
    Tops,
    VerticalCenters,
    CenterInWindowVertically,
    SpaceEquallyVertically,
    Bottoms,
};

enum class Direction { Left, Right, Up, Down };

// What the page options dialog hands over, already parsed (millimetres as
// the user typed them).
struct PageOptionsRequest {
    bool PrintToPrevPage = false;
    bool StretchToPrintArea = false;
    bool UnlimitedHeight = false;
    int Orientation = 0;
    int PaperSize = kA4;
    double WidthMm = 0, HeightMm = 0;     // used for the custom size only
    int Bin = kDefaultBin;
    double LeftMm = 0, TopMm = 0, RightMm = 0, BottomMm = 0;
    double ColumnGapMm = 0;
    int Columns = 1;
};

// The values the page options dialog shows for a page.
PageOptionsRequest pageOptionsOf(const TfrPage& page, bool unlimitedHeight);
// Millimetres in the general format with 4 significant digits ("175", "10.28").
std::string formatMillimetres(double mm);

// Limits of a custom paper, in millimetres.
inline constexpr double kMinPaperMm = 10.0;
inline constexpr double kMaxPaperMm = 2000.0;

// Which band kinds the band dialog offers (0 .. 21).
std::array<bool, 22> enabledBandKinds(const TfrReport& report, int pageIndex);
// "Master data" -> "MasterData".
std::string bandNamePrefix(int bandKind);

// Puts the page's objects in the designer's order: bands first (the first
// overlay band before the other bands, cross bands after them), then the
// other objects, each group in its relative order.
void restorePageOrder(TfrPage& page);

enum class ModalResult { Ok = 1, Cancel = 2 };

class DesignerDocument {
public:
    explicit DesignerDocument(TfrReport& report);
    ~DesignerDocument();
    DesignerDocument(const DesignerDocument&) = delete;
    DesignerDocument& operator=(const DesignerDocument&) = delete;

    void addObserver(DocumentObserver* observer);
    void removeObserver(DocumentObserver* observer);

    TfrReport& report() const { return report_; }
    DesignerHooks& hooks() { return hooks_; }
    void setFileDialogs(DesignerFileDialogs* dialogs) { dialogs_ = dialogs; }

    // --- document state ---
    const std::string& documentName() const { return documentName_; }
    // "Designer - carry1.frf": the document name without folder.
    std::string caption() const;
    bool modified() const { return modified_; }
    void setModified(bool modified);
    // The template could not be read whole: Save asks for another file name.
    bool loadFailed() const { return loadFailed_; }

    GridSettings& grid() { return grid_; }
    const GridSettings& grid() const { return grid_; }
    DesignerOptions& options() { return options_; }
    const DesignerOptions& options() const { return options_; }

    // --- pages ---
    int pageCount() const { return report_.Pages.Count(); }
    int currentPageIndex() const { return pageIndex_; }
    TfrPage& page() const { return report_.Pages.Items(pageIndex_); }
    bool isDialogPage() const { return page().Type == pagetype::Dialog; }
    void showPage(int index);
    void addPage();
    void addDialogPage();
    // Only when the report has more than one page; the caller asks first.
    bool removeCurrentPage();

    // --- selection (the objects' Selected flags on the current page) ---
    std::vector<TfrView*> selection() const;
    int selectedCount() const;
    TfrView* singleSelected() const;
    void select(TfrView& view, bool selected = true);
    void selectOnly(TfrView& view);
    void toggleSelected(TfrView& view);
    void clearSelection();
    void selectAll();
    // The reference of the alignment palette: the object selected first while
    // it stays selected, otherwise the first selected one in page order.
    TfrView* referenceObject() const;
    TfrView* objectById(std::int32_t id) const;
    // The topmost object the point hits, or nullptr.
    TfrView* objectAt(Point p) const;

    // --- commands on the selection (each one undo entry; false: nothing changed) ---
    bool moveSelection(int dx, int dy);
    // Shift+arrow: objects restricted against sizing move instead.
    bool resizeSelection(int dw, int dh);
    // Arrow with one object selected: the nearest object in that direction.
    bool selectNearest(Direction d);
    // Alt+arrow: moves the single selected object until it touches the nearest
    // object in that direction.
    bool moveToTouch(Direction d);
    bool deleteSelection();
    void copySelection();
    bool cutSelection();
    // visibleLeft/visibleTop: where the visible area begins on the page
    // (positive when the page is scrolled).
    bool paste(int visibleLeft = 0, int visibleTop = 0);
    bool bringToFront();
    bool sendToBack();
    bool fitToGrid();
    bool align(Alignment how);
    // The toolbars' actions (codes in toolbaraction); value: the colour, the
    // width, the font name (GBK), the size, or the button's state.
    bool applyToolbarAction(int code, const Value& value);
    // Font dialog result: only the attributes that differ from the reference
    // font are given to each selected text object.
    bool applyFontChange(const TfrFont& reference, const TfrFont& chosen);
    // The inspector: a property of every selected object that has it. A value
    // that does not convert is refused (error text), nothing changed.
    std::optional<std::string> setProperty(std::string_view name, const Value& value);
    // A property of the current page (nothing selected).
    std::optional<std::string> setPageProperty(std::string_view name, const Value& value);
    bool setMemo(TfrView& view, const StringList& lines);
    // The text editor's OK: the object's lines and script together, one undo
    // entry; false when neither changed.
    bool setMemoAndScript(TfrView& view, const StringList& memo, const StringList& script);
    // The format dialog's OK: the packed display format and its custom text,
    // one undo entry; false when neither changed.
    bool setDisplayFormat(TfrView& view, std::uint32_t format, const std::string& formatText);
    // The highlight dialog's OK: the highlight and its condition, one undo entry.
    bool setHighlight(TfrMemoView& view, const TfrHighlight& highlight, const std::string& condition);
    // The pop-up menu's "Stretched": flag 0x01 on every selected object that
    // may be modified.
    bool setStretched(bool on);
    // The script of an object, or of the current page when view is nullptr.
    bool setScript(TfrView* view, const StringList& lines);
    bool setPicture(TfrPictureView& view, const TfrPicture& picture);
    bool setRestrictions(TfrView& view, std::uint8_t restrictions);

    // Inserting with a tool: the created object is selected, added and recorded.
    // rect is the final rectangle (grid and default size already applied).
    TfrView* insertObject(int kindCode, const ViewRect& rect, int bandKind = bandkind::None);
    // The size of a text object inserted by a click.
    std::pair<int, int> defaultTextSize() const;

    // Page options: validated first; a value that does not fit is refused with
    // the message returned and nothing is changed; otherwise applied as one step.
    std::optional<std::string> setPageOptions(const PageOptionsRequest& request);

    // --- gestures (dragging): the first change records the entry, the rest of
    // the drag adds to it ---
    void beginGesture();
    void endGesture();
    // Records a modified-objects entry for the objects, unless the current
    // gesture already did.
    void recordModified(const std::vector<const TfrView*>& objects);
    // Tells the views that the page changed (after a gesture step).
    void notifyPageChanged();

    // --- undo ---
    bool canUndo() const;
    bool canRedo() const;
    bool undo();
    bool redo();
    std::size_t undoCount() const { return undo_.size(); }
    std::size_t redoCount() const { return redo_.size(); }

    // --- files (questions through the UI services, file names through the dialogs) ---
    // The save question; true: go on (saved, or not wanted).
    bool confirmDiscard();
    bool newReport();
    bool open();
    // Opens a given file (the open dialog's answer): a template becomes the
    // document, a dictionary file (".frd") joins the report's dictionary.
    bool openFile(const std::string& fileName);
    bool save();
    // The chosen name's extension picks the form: ".frf" (or none) the
    // template, which becomes the document; ".fr3" the XML export; ".frt" a
    // new-report template in the template folder; ".frd" the dictionary.
    bool saveAs();
    // The close question: true when the window may close; result says how.
    bool mayClose(ModalResult& result);

private:
    void record(UndoEntry entry);
    void recordStep(UndoStep step);
    bool applyEntry(UndoBuffer& from, UndoBuffer& to);
    void changed(bool documentToo = false);
    void selectionTouched();
    void resetForNewTemplate();
    bool writeTo(const std::string& fileName, bool saveAs);
    // Save as another form (the XML export, a new-report template, the
    // dictionary alone) or as the template itself.
    bool exportAs(const std::string& fileName, ReportFileForm form);
    std::vector<TfrView*> movable(bool forSize) const;
    std::vector<TfrView*> actionTargets(bool textOnly) const;

    TfrReport& report_;
    DesignerHooks hooks_;
    DesignerFileDialogs* dialogs_ = nullptr;
    std::vector<DocumentObserver*> observers_;
    std::string documentName_;
    bool modified_ = false;
    bool loadFailed_ = false;
    int pageIndex_ = 0;
    GridSettings grid_;
    DesignerOptions options_;
    UndoBuffer undo_;
    UndoBuffer redo_;
    std::int32_t firstSelectedId_ = -1;
    bool gestureOpen_ = false;
    bool gestureRecorded_ = false;
    // The file a template was read from when the read failed: never written over.
    std::string unreadableSource_;
    bool savedThisSession_ = false;
};

} // namespace pemvora::report
