#pragma once
// The designer's undo and redo entries. An entry names its objects by their Id,
// never by a list index or a pointer, so that it finds the right object after
// later reorders, deletions and restorations; it keeps the deleted objects
// themselves alive until the entry goes away.

#include "report/model/page.h"
#include "report/model/view.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

namespace pemvora::report {

enum class UndoKind { Inserted, Deleted, Modified, Reordered, PageSettings };

struct UndoItem {
    std::int32_t Id = 0;
    // Deleted: where the object stood in the page's list.
    int Index = 0;
    // Deleted: the removed object itself; Modified: a copy taken before the change.
    std::unique_ptr<TfrView> Object;
};

// Everything of a page but its objects: what the page options and the
// inspector change.
struct PageSettings {
    PaperRequest Paper;
    PageMargins Margins;
    bool PrintToPrevPage = false;
    bool MarginsInUse = true;
    int Columns = 1;
    int ColumnWidth = 0;
    int ColumnGap = 0;
    std::uint8_t Type = pagetype::Report;
    std::string Name;
    std::uint8_t BorderStyle = 3;
    std::string Caption;
    Color WindowColor = kBtnFace;
    int Left = 0, Top = 0, Width = 0, Height = 0;
    std::uint8_t Position = 4;
    StringList ScriptLines;
    bool Visible = true;
};
PageSettings pageSettingsOf(const TfrPage& page);
void applyPageSettings(TfrPage& page, const PageSettings& settings);

struct UndoStep {
    UndoKind Kind = UndoKind::Modified;
    std::vector<UndoItem> Items;
    std::vector<std::int32_t> Order;          // Reordered: the Ids in page order before the change
    std::optional<PageSettings> Settings;     // PageSettings: the settings before the change
};

// One user action: the steps it took, in the order they were taken.
struct UndoEntry {
    const TfrPage* Page = nullptr;   // entries of a removed page are dropped with it
    std::vector<UndoStep> Steps;
};

// A copy of an object (the template state, Name and Selected included).
std::unique_ptr<TfrView> copyOfObject(const TfrView& view);

// Steps that record the state before a change.
UndoStep insertedStep(const std::vector<std::int32_t>& ids);
UndoStep modifiedStep(const std::vector<const TfrView*>& objects);
UndoStep reorderedStep(const TfrPage& page);
UndoStep pageSettingsStep(const TfrPage& page);

// Takes the step back on `page` and returns the step that would take it back
// again (an insertion becomes a deletion holding the removed objects, a
// deletion an insertion, a modification the modification back). `affected`
// receives the Ids of the objects the step touched.
UndoStep revertStep(TfrPage& page, UndoStep step, std::vector<std::int32_t>& affected);

// A bounded stack of entries: the oldest is dropped when a push would go
// beyond the capacity.
class UndoBuffer {
public:
    static constexpr std::size_t kCapacity = 100;

    void push(UndoEntry entry);
    bool empty() const { return entries_.empty(); }
    std::size_t size() const { return entries_.size(); }
    const UndoEntry& newest() const { return entries_.back(); }
    UndoEntry takeNewest();
    void clear() { entries_.clear(); }
    // Forgets the entries of a page that is being removed.
    void dropPage(const TfrPage* page);

private:
    std::deque<UndoEntry> entries_;
};

} // namespace pemvora::report
