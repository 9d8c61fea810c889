#pragma once
// TfrView: everything that lies on a template page (text, picture, line, band,
// sub-report marker) derives from it. It holds the common geometry, frame,
// fill, content lines, script and flags, the common properties by name, and
// the geometry and drawing steps every kind's painting is built from.
//
// TfrStretcheable (objects whose height can grow) and TfrControl (objects that
// wrap a platform control on a dialog page) extend it.

#include "report/canvas/canvas.h"
#include "report/model/object.h"
#include "report/model/types.h"

class QImage;

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pemvora::report {

class TfrPage;
class TfrBandRuntime;
class TfrDataset;
class IDataSet;
class BinaryWriter;

// Design-pixel position and size as the band engine keeps it across splits.
struct ViewRect {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    friend bool operator==(const ViewRect&, const ViewRect&) = default;
};

// The template's values a DeviceGeometry scope replaces and puts back.
struct SavedGeometry {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    int GapX = 0, GapY = 0;
    float FrameWidth = 0;
};

// A hit-test area: the union of its rectangles.
using HitRegion = std::vector<Rect>;
bool regionContains(const HitRegion& region, Point p);

class TfrView : public TfrObject {
public:
    TfrView();
    ~TfrView() override;

    // The class name as plug-ins and the loader know it ("TfrMemoView", ...).
    virtual std::string_view ClassName() const { return "TfrView"; }

    void SetProperty(std::string_view name, const Value& value) override;
    Value GetProperty(std::string_view name) override;
    Value CallMethod(std::string_view name, const Value& arg1, const Value& arg2, const Value& arg3) override;
    void RegisterProperties() override;

    // Hooks: a view that sets flag::NotifyView hears of every printed text
    // object; every object hears when its template has been read.
    virtual void NotifyView(TfrView& view);
    virtual void AfterReportLoaded();

    // --- drawing and printing ---
    // Draws the object on `canvas`: in the designer (Running 0) at design
    // pixels, otherwise at DeviceScaleX/Y and DeviceOffsetX/Y, which the caller
    // sets first, onto the printer when ToPrinter. Every kind draws itself.
    virtual void Paint(Canvas& canvas) = 0;
    // Writes the object into a prepared page: its kind byte, for a plug-in its
    // class name, then its record. The caller sets PreparedMode, so the record
    // carries WorkLines; an invisible object writes nothing.
    virtual void Print(BinaryWriter& stream);
    // Hands the object to the current report's active export filter (with its
    // left and top); a text object then hands over every line it draws.
    // Nothing without an active filter.
    virtual void ExportContent();
    // Takes the object's content from a memo or blob field of the current record.
    virtual void LoadFromBlobField(const IDataSet& data, int field);

    // --- geometry and drawing steps (every kind's Paint draws inside a
    // DeviceGeometry scope) ---
    void PaintFill();
    void PaintBorder();
    virtual HitRegion CreateHitRegion(bool widened) const;
    // Moves (and sizes) the object as its BandAlign says; the first step of
    // every Paint and Print.
    void ApplyBandAlign(Canvas* canvas);

    void PlaceAt(int left, int top, int width, int height);

    // Name := NamePrefix + N with the smallest N (1..10000) that no object of
    // the current report has; the name stays empty when all are taken.
    void CreateUniqueName();

    // Copies Name, ObjectKind, Selected and everything the object's stored
    // record carries (its template state; nothing of a run).
    void CopyFrom(const TfrView& other);

    bool IsStretched() const { return (Flags & flag::Stretched) != 0; }

    // ---- fields, in the order of the stored model ----
    SavedGeometry Saved;
    std::string NamePrefix = "View";
    Canvas* canvas = nullptr;                 // canvas of the current paint
    Rect PaintRect;                           // content inside the frame lines, device pixels
    StringList WorkLines;
    // Data binding: set by the run preparation when the text is one data field.
    TfrDataset* BoundDataSource = nullptr;
    std::string BoundField;
    bool PreparedMode = false;
    std::string Name;                         // GBK
    std::uint8_t ObjectKind = kind::PlugIn;
    std::uint8_t RecordVersionMajor = 0;
    std::uint8_t RecordVersionMinor = 0;
    std::int32_t Id = 0;
    bool Selected = false;
    ViewRect SavedRect;
    double DeviceScaleX = 1.0, DeviceScaleY = 1.0;
    int DeviceOffsetX = 0, DeviceOffsetY = 0;
    bool ToPrinter = false;
    std::int32_t Left = 0, Top = 0, Width = 0, Height = 0;
    std::uint16_t Flags = flag::Stretched;
    std::uint16_t FrameTyp = 0;               // a band keeps its band kind here
    float FrameWidth = 1.0f;
    // The FrameWidth a record gave and the number stored for it. While the
    // width stays as read it is written back as stored: every stored width
    // reads and saves again unchanged, also those whose float form would not
    // encode to the same number.
    struct StoredFrameWidth {
        float width = 0;
        std::int32_t stored = 0;
    };
    std::optional<StoredFrameWidth> FrameWidthAsRead;
    Color FrameColor = kBlack;
    std::uint16_t FrameStyle = penstyle::Solid;
    Color FillColor = kNoColor;
    std::uint32_t DisplayFormat;              // see displayformat below
    std::string DisplayFormatText;
    bool Visible = true;
    std::int32_t GapX = 2, GapY = 1;
    std::uint8_t Restrictions = 0;
    std::string Tag;
    StringList Memo;
    StringList ScriptLines;
    std::uint8_t BandAlign = bandalign::None;
    TfrBandRuntime* RuntimeBand = nullptr;    // not owned; valid during a run
    TfrPage* OwnerPage = nullptr;             // not owned; valid during a run

protected:
    // The steps before an object is printed: WorkLines := Memo, a bound blob
    // field loaded into the object, then the report's OnBeforePrint event.
    void BeforePrint();
    // Runs ScriptLines through the installed script interpreter, if any.
    void RunScript();
    // Tag with its brackets replaced by their values (Tag itself when it has none).
    std::string ExpandedTag();
    // The kind byte, the class name of a plug-in and the record.
    void WriteRecord(BinaryWriter& stream);
    // Copies the kind-specific part of the stored record.
    virtual void CopyRecordFrom(const TfrView& other);
    // The list methods (listName.ADD, .CLEAR, .DELETE, .INDEXOF,
    // SETINDEXPROPERTY, GETINDEXPROPERTY) on `list`; `handled` says whether
    // the name was one of them.
    Value ListMethod(StringList& list, std::string_view listName, std::string_view upper,
                     const Value& arg1, const Value& arg2, const Value& arg3, bool& handled);
    // Whether the frame, fill, Tag and BandAlign properties are registered.
    virtual bool RegistersFrameProperties() const { return true; }

private:
    friend class DeviceGeometry;
    // Saves the template geometry and sets the device one (DeviceScale/Offset,
    // PaintRect); RestoreGeometry puts the saved values back.
    void ApplyDeviceScale();
    void RestoreGeometry();
    int deviceGeometryDepth_ = 0;   // open DeviceGeometry scopes on this view
};

// The device geometry of a view for the length of a scope: Left, Top, Width,
// Height, GapX, GapY and FrameWidth scaled to the device and PaintRect set on
// entry, the template's values back on every way out, also when the drawing
// throws (a later save would otherwise write device coordinates). Scopes on
// the same view nest: only the outermost one scales and restores.
class DeviceGeometry {
public:
    explicit DeviceGeometry(TfrView& view) : view_(view)
    {
        if (view_.deviceGeometryDepth_++ == 0) view_.ApplyDeviceScale();
    }
    ~DeviceGeometry()
    {
        if (--view_.deviceGeometryDepth_ == 0) view_.RestoreGeometry();
    }
    DeviceGeometry(const DeviceGeometry&) = delete;
    DeviceGeometry& operator=(const DeviceGeometry&) = delete;

private:
    TfrView& view_;
};

// The default display format of a new object: 2 decimals and the decimal separator.
std::uint32_t defaultDisplayFormat();

// An object whose height can grow with its content.
class TfrStretcheable : public TfrView {
public:
    // Adds "CALCHEIGHT", which gives CalcHeight().
    Value CallMethod(std::string_view name, const Value& arg1, const Value& arg2, const Value& arg3) override;

    // The height the object needs for its content, in design pixels (the band
    // engine stretches its band by it).
    virtual int CalcHeight() = 0;
    // The least height at which anything of the object can be printed.
    virtual int MinHeight() = 0;
    // What is left over below the last whole line when the object is split.
    virtual int RemainHeight() = 0;

    // 0 print the whole object, 1 its height was just measured, 2 print the part
    // that fits and keep the rest; back to 0 after each print.
    std::uint8_t PaintPhase = 0;
};

// The platform control a TfrControl wraps.
class BoundControl {
public:
    virtual ~BoundControl() = default;
    virtual void SetVisible(bool visible) = 0;
    // Takes the object's size in design pixels.
    virtual void Resize(int width, int height) { (void)width; (void)height; }
    // Paints the control's face into `image`, which holds the object's size
    // filled with the button face colour; a control that cannot paint itself
    // leaves it so.
    virtual void RenderInto(QImage& image) const { (void)image; }
};

// An object that wraps a platform control on a dialog page; a base for plug-in classes.
class TfrControl : public TfrView {
public:
    TfrControl();
    std::string_view ClassName() const override { return "TfrControl"; }
    void SetProperty(std::string_view name, const Value& value) override;
    void RegisterProperties() override;
    // Sizes the control to the object and draws its picture (PaintControlImage).
    void Paint(Canvas& canvas) override;

    BoundControl* Control = nullptr;          // not owned

protected:
    virtual void PaintControlImage();
};

} // namespace pemvora::report
