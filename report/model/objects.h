#pragma once
// The picture, line, band and sub-report objects: their data and properties.

#include "report/model/view.h"

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

namespace pemvora::report {

// Graphic kinds as a picture record stores them. A record with a kind byte
// beyond these keeps it, with its bytes, and saves it back as it came.
enum class GraphicKind : std::uint8_t { None = 0, Bitmap = 1, Metafile = 2, Icon = 3, Jpeg = 4 };

// The graphic a picture object owns, kept in its own file format (a bitmap
// file, a metafile, an icon file, a JPEG file).
struct TfrPicture {
    GraphicKind Kind = GraphicKind::None;
    std::string Data;
    bool IsEmpty() const { return Kind == GraphicKind::None || Data.empty(); }
    void Clear() { Kind = GraphicKind::None; Data.clear(); }
    friend bool operator==(const TfrPicture&, const TfrPicture&) = default;
};

// Raised for a file or field whose bytes are not a graphic of a known kind.
class GraphicError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The kind of a graphic from its first bytes; None when it is none of the four.
GraphicKind detectGraphicKind(std::string_view bytes);

// Kind of graphic expected in a database field.
namespace blobtype {
inline constexpr int Bitmap = 0;
inline constexpr int Jpeg = 1;
inline constexpr int Icon = 2;
inline constexpr int Metafile = 3;
} // namespace blobtype

struct DecodedPicture;

// Where a picture of `picture` pixels is drawn in an object whose content
// rectangle is `paintRect` and whose device size is `width` x `height`, by the
// picture flags (Stretched, Center, KeepAspect) at device scales sx, sy.
Rect pictureTarget(const Rect& paintRect, int width, int height, Size picture, std::uint16_t flags, double sx,
                   double sy);

class TfrPictureView : public TfrView {
public:
    TfrPictureView();
    std::string_view ClassName() const override { return "TfrPictureView"; }

    void SetProperty(std::string_view name, const Value& value) override;
    Value GetProperty(std::string_view name) override;
    Value CallMethod(std::string_view name, const Value& arg1, const Value& arg2, const Value& arg3) override;
    void RegisterProperties() override;

    // Loads the graphic from a file; an empty name or a missing file empties
    // the picture; a file of an unknown kind raises GraphicError.
    void LoadFromFile(const std::string& fileName);

    // Draws the graphic stretched, centred or kept in proportion as the flags
    // say; graphic data that cannot be decoded shows as an empty box with a
    // thin cross.
    void Paint(Canvas& canvas) override;
    // The field's bytes as a graphic of the BlobType kind; a Null field
    // empties the picture.
    void LoadFromBlobField(const IDataSet& data, int field) override;

    TfrPicture Picture;
    std::uint8_t BlobType = blobtype::Bitmap;

protected:
    void CopyRecordFrom(const TfrView& other) override;

private:
    // The graphic decoded for drawing, kept while Picture stays the same.
    mutable std::shared_ptr<const DecodedPicture> decoded_;
    const DecodedPicture& decoded() const;
};

class TfrLineView : public TfrStretcheable {
public:
    TfrLineView();
    std::string_view ClassName() const override { return "TfrLineView"; }
    void RegisterProperties() override;
    HitRegion CreateHitRegion(bool widened) const override;
    // Horizontal along the top edge when lower than wide, otherwise vertical
    // along the left edge; the first paint settles which.
    void Paint(Canvas& canvas) override;
    int CalcHeight() override;
    int MinHeight() override;
    int RemainHeight() override;
};

class TfrBandView : public TfrView {
public:
    TfrBandView();
    std::string_view ClassName() const override { return "TfrBandView"; }

    void SetProperty(std::string_view name, const Value& value) override;
    Value GetProperty(std::string_view name) override;
    Value CallMethod(std::string_view name, const Value& arg1, const Value& arg2, const Value& arg3) override;
    void RegisterProperties() override;

    // Drawn in the designer only: the hatched band across the page with its title.
    void Paint(Canvas& canvas) override;
    HitRegion CreateHitRegion(bool widened) const override;
    // The tab that carries the title when titles are shown outside the bands.
    Rect TitleTab(Canvas& measure) const;

    int BandKind() const { return FrameTyp; }
    void SetBandKind(int k) { FrameTyp = static_cast<std::uint16_t>(k); ClearProperties(); }

    std::string ChildBand;       // name of the kind-21 band printed after this one
    std::string Master;          // group headers: the data band they group
    std::int32_t Columns = 1;
    std::int32_t ColumnWidth = 200;
    std::int32_t ColumnGap = 20;
    std::int32_t NewColumnAfter = 1;

protected:
    void CopyRecordFrom(const TfrView& other) override;
    bool RegistersFrameProperties() const override { return false; }
};

class TfrSubReportView : public TfrView {
public:
    TfrSubReportView();
    std::string_view ClassName() const override { return "TfrSubReportView"; }
    // A white box with the object's name.
    void Paint(Canvas& canvas) override;

    std::int32_t SubPageIndex = 0;    // 0-based page whose bands form the sub-report

protected:
    void CopyRecordFrom(const TfrView& other) override;
    bool RegistersFrameProperties() const override { return false; }
};

} // namespace pemvora::report
