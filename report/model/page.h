#pragma once
// TfrPage: a template page (a report page or a dialog page) owning its
// objects; TfrPages: the ordered pages of one report.

#include "report/printer/printer.h"
#include "report/model/object.h"
#include "report/model/view.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace pemvora::report {

class TfrReport;

// The paper a page asks for; the printer may give it another (ApplyPaper).
struct PaperRequest {
    int Size = kA4;               // platform paper size code; kCustomPaper = custom
    int Width = 2100;             // tenths of a millimetre, in the orientation below
    int Height = 2970;
    int Orientation = 0;          // 0 portrait, 1 landscape
    int Bin = kDefaultBin;        // paper source
};

struct PageMargins {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;   // design pixels; 0 = the printer's offset
};

namespace pagetype {
inline constexpr int Report = 0;
inline constexpr int Dialog = 1;
} // namespace pagetype

class TfrPage : public TfrObject {
public:
    explicit TfrPage(const PaperRequest& paper = {});
    ~TfrPage() override;

    void SetProperty(std::string_view name, const Value& value) override;
    Value GetProperty(std::string_view name) override;
    void RegisterProperties() override;

    // --- objects ---
    // Appends an object (the page owns it from now on) and returns it.
    TfrView& Add(std::unique_ptr<TfrView> view);
    template <typename T>
    T& Add() { return static_cast<T&>(Add(std::make_unique<T>())); }
    void Delete(int index);
    void Clear();
    int IndexOfId(std::int32_t id) const;      // -1 when none
    TfrView* FindObject(std::string_view name) const;
    int ObjectCount() const { return static_cast<int>(PageObjects.size()); }

    // --- paper ---
    // Applies the paper through the engine's printer, which may replace it by
    // what the selected printer supports or fall back to a custom size of the
    // same dimensions; the page keeps what the printer then holds, and its metrics.
    void ApplyPaper(const PaperRequest& paper);
    PaperRequest RequestedPaper() const;

    // The band area: the margins, or the printer's unprintable offsets where a
    // margin is 0; the whole paper with "StretchToPrintable". Design pixels.
    int LeftEdge() const;
    int TopEdge() const;
    int RightEdge() const;
    int BottomEdge() const;

    // --- fields (template side) ---
    // Paper size code, width and height (tenths of a millimetre, in the current
    // orientation), orientation, bin and the page metrics.
    PagePaper Paper;
    PageMargins Margins;
    bool PrintToPrevPage = false;
    bool MarginsInUse = true;
    int Columns = 1;
    int ColumnWidth = 0;
    int ColumnGap = 0;
    std::uint8_t Type = pagetype::Report;
    std::vector<std::unique_ptr<TfrView>> PageObjects;
    std::string Name;
    std::uint8_t BorderStyle = 3;  // dialog pages: 2 sizeable, 3 dialog
    std::string Caption = "Form";
    Color WindowColor = kBtnFace;
    int Left = 220, Top = 120, Width = 380, Height = 300;   // dialog window, screen pixels
    std::uint8_t Position = 4;     // 0 designed, 4 screen centre
    StringList ScriptLines;
    bool Visible = true;
};

// Design pixels for the page's "Width"/"Height" properties and back.
int tenthsMmToPixels(int tenths);
int pixelsToTenthsMm(int pixels);

class TfrPages {
public:
    explicit TfrPages(TfrReport* owner = nullptr) : owner_(owner) {}

    int Count() const { return static_cast<int>(pages_.size()); }
    TfrPage& Items(int index) const { return *pages_.at(static_cast<std::size_t>(index)); }
    TfrPage& operator[](int index) const { return Items(index); }
    // Adds a page with the printer's default paper; returns its index.
    int Add();
    // Adds a page with the given paper; returns its index.
    int Add(const PaperRequest& paper);
    // Adds a page with the printer's default paper and the given name, for a
    // reader that names its pages itself; returns its index.
    int AddNamed(std::string name);
    void Delete(int index);
    void Move(int from, int to);
    void Clear();
    int IndexOf(const TfrPage* page) const;
    // "Page" + N with the smallest N (1..10000) that no other page has; empty
    // when every one is taken.
    std::string UniquePageName(const TfrPage* forPage) const;
    // Recomputes the aligned positions of every object with a BandAlign.
    void ReapplyBandAlign();

    TfrReport* Owner() const { return owner_; }

private:
    static PaperRequest defaultPaper();

    TfrReport* owner_;
    std::vector<std::unique_ptr<TfrPage>> pages_;
};

} // namespace pemvora::report
