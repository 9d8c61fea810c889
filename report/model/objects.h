#pragma once
// The picture, line, band and sub-report objects: their data and properties.

#include "report/model/view.h"

#include <cstdint>
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

    TfrPicture Picture;
    std::uint8_t BlobType = blobtype::Bitmap;

protected:
    void CopyRecordFrom(const TfrView& other) override;
};

class TfrLineView : public TfrStretcheable {
public:
    TfrLineView();
    std::string_view ClassName() const override { return "TfrLineView"; }
    void RegisterProperties() override;
    HitRegion CreateHitRegion(bool widened) const override;
};

class TfrBandView : public TfrView {
public:
    TfrBandView();
    std::string_view ClassName() const override { return "TfrBandView"; }

    void SetProperty(std::string_view name, const Value& value) override;
    Value GetProperty(std::string_view name) override;
    Value CallMethod(std::string_view name, const Value& arg1, const Value& arg2, const Value& arg3) override;
    void RegisterProperties() override;

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

    std::int32_t SubPageIndex = 0;    // 0-based page whose bands form the sub-report

protected:
    void CopyRecordFrom(const TfrView& other) override;
    bool RegistersFrameProperties() const override { return false; }
};

} // namespace pemvora::report
