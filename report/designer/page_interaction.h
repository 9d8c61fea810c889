#pragma once
// PageInteraction: what the mouse does on the designer's page, in design
// pixels. One tool at a time decides what a press starts (selecting, moving,
// sizing with the handles, scaling a multiple selection, moving a shared
// edge, a rubber band, inserting, drawing a line); each finished gesture
// becomes commands on the document, and a whole drag is one undo entry. The
// page widget only maps its coordinates and modifier keys to these calls.

#include "report/designer/designer_document.h"
#include "report/designer/designer_geometry.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace pemvora::report {

enum class DesignTool { Select, Text, Band, Picture, SubReport, Line };

struct KeyModifiers {
    bool Shift = false;
    bool Ctrl = false;
    bool Alt = false;
};

enum class MouseButton { Left, Right };

enum class PointerShape { Arrow, SizeDiagonalDown, SizeDiagonalUp, SizeHorizontal, SizeVertical, Split, Cross, Pencil };

struct PressResult {
    bool OpenPopupMenu = false;
};

struct ReleaseResult {
    TfrView* Inserted = nullptr;
    // "Editing after insert" is on: the window opens the object's editor.
    bool OpenEditor = false;
};

class PageInteraction {
public:
    explicit PageInteraction(DesignerDocument& document) : doc_(document) {}

    // keepDown: the tool stays chosen after an insertion (Shift held on the tool button).
    void setTool(DesignTool tool, bool keepDown = false);
    DesignTool tool() const { return tool_; }

    // Asked when a band is inserted: the chosen band kind, or nullopt when cancelled.
    std::function<std::optional<int>()> chooseBandKind;

    PressResult press(Point p, KeyModifiers keys, MouseButton button = MouseButton::Left);
    void move(Point p, KeyModifiers keys);
    ReleaseResult release(Point p, KeyModifiers keys);
    // Esc: leaves the current drag (what it already did stays) and takes the selection tool.
    void cancel();

    bool dragging() const { return drag_ != Drag::None; }
    PointerShape pointerAt(Point p, KeyModifiers keys) const;
    // The rectangle to draw while a rubber band or an insertion is dragged.
    std::optional<ViewRect> rubberBand() const;
    // The line being drawn, from its start to its end.
    std::optional<std::pair<Point, Point>> lineBeingDrawn() const;

    // The shared edge of two selected objects under the point (left object,
    // right object), if any.
    std::optional<std::pair<std::int32_t, std::int32_t>> splitEdgeAt(Point p) const;
    // The multiple selection's scaling handle: the bottom-right corner of the
    // last selected object.
    std::optional<Point> scaleHandle() const;

private:
    enum class Drag { None, Move, Resize, Scale, Split, Rubber, Insert, Line };

    bool alignOn(KeyModifiers keys) const { return doc_.grid().Align != keys.Alt; }
    Point snapLinePoint(Point p, KeyModifiers keys) const;
    void startObjectDrag(Drag kind);
    void applyDrag(Point p, KeyModifiers keys);
    void finishRubberBand(Point p);
    ReleaseResult finishInsert(Point p, KeyModifiers keys);
    ReleaseResult finishLine(Point p, KeyModifiers keys);

    DesignerDocument& doc_;
    DesignTool tool_ = DesignTool::Select;
    bool keepTool_ = false;
    Drag drag_ = Drag::None;
    Point pressPoint_;
    Point currentPoint_;
    Handle handle_ = Handle::None;
    std::pair<std::int32_t, std::int32_t> split_{0, 0};
    // The rectangles of the dragged objects when the drag began, by Id.
    std::vector<std::pair<std::int32_t, ViewRect>> start_;
    ViewRect scaleBox_;
    Point scaleHandleStart_;
};

} // namespace pemvora::report
