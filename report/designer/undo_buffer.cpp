#include "report/designer/undo_buffer.h"

#include "report/model/report.h"

#include <algorithm>

namespace pemvora::report {

PageSettings pageSettingsOf(const TfrPage& page)
{
    PageSettings s;
    s.Paper = page.RequestedPaper();
    s.Margins = page.Margins;
    s.PrintToPrevPage = page.PrintToPrevPage;
    s.MarginsInUse = page.MarginsInUse;
    s.Columns = page.Columns;
    s.ColumnWidth = page.ColumnWidth;
    s.ColumnGap = page.ColumnGap;
    s.Type = page.Type;
    s.Name = page.Name;
    s.BorderStyle = page.BorderStyle;
    s.Caption = page.Caption;
    s.WindowColor = page.WindowColor;
    s.Left = page.Left;
    s.Top = page.Top;
    s.Width = page.Width;
    s.Height = page.Height;
    s.Position = page.Position;
    s.ScriptLines = page.ScriptLines;
    s.Visible = page.Visible;
    return s;
}

void applyPageSettings(TfrPage& page, const PageSettings& s)
{
    page.ApplyPaper(s.Paper);
    page.Margins = s.Margins;
    page.PrintToPrevPage = s.PrintToPrevPage;
    page.MarginsInUse = s.MarginsInUse;
    page.Columns = s.Columns;
    page.ColumnWidth = s.ColumnWidth;
    page.ColumnGap = s.ColumnGap;
    page.Type = s.Type;
    page.Name = s.Name;
    page.BorderStyle = s.BorderStyle;
    page.Caption = s.Caption;
    page.WindowColor = s.WindowColor;
    page.Left = s.Left;
    page.Top = s.Top;
    page.Width = s.Width;
    page.Height = s.Height;
    page.Position = s.Position;
    page.ScriptLines = s.ScriptLines;
    page.Visible = s.Visible;
    page.ClearProperties();
}

std::unique_ptr<TfrView> copyOfObject(const TfrView& view)
{
    std::unique_ptr<TfrView> copy = CreateObject(view.ObjectKind, view.ClassName());
    copy->CopyFrom(view);
    return copy;
}

UndoStep insertedStep(const std::vector<std::int32_t>& ids)
{
    UndoStep step;
    step.Kind = UndoKind::Inserted;
    for (std::int32_t id : ids) step.Items.push_back({id, 0, nullptr});
    return step;
}

UndoStep modifiedStep(const std::vector<const TfrView*>& objects)
{
    UndoStep step;
    step.Kind = UndoKind::Modified;
    for (const TfrView* view : objects) step.Items.push_back({view->Id, 0, copyOfObject(*view)});
    return step;
}

UndoStep reorderedStep(const TfrPage& page)
{
    UndoStep step;
    step.Kind = UndoKind::Reordered;
    for (const auto& view : page.PageObjects) step.Order.push_back(view->Id);
    return step;
}

UndoStep pageSettingsStep(const TfrPage& page)
{
    UndoStep step;
    step.Kind = UndoKind::PageSettings;
    step.Settings = pageSettingsOf(page);
    return step;
}

namespace {

// Removes the listed objects from the page, keeping them, with where they stood.
UndoStep removeObjects(TfrPage& page, const std::vector<UndoItem>& items, std::vector<std::int32_t>& affected)
{
    UndoStep back;
    back.Kind = UndoKind::Deleted;
    for (const UndoItem& item : items) {
        const int index = page.IndexOfId(item.Id);
        if (index < 0) continue;
        back.Items.push_back({item.Id, index, std::move(page.PageObjects[std::size_t(index)])});
        page.PageObjects.erase(page.PageObjects.begin() + index);
        affected.push_back(item.Id);
    }
    // Put back later in ascending order of place, so each lands where it was.
    std::sort(back.Items.begin(), back.Items.end(),
              [](const UndoItem& a, const UndoItem& b) { return a.Index < b.Index; });
    return back;
}

UndoStep restoreObjects(TfrPage& page, std::vector<UndoItem> items, std::vector<std::int32_t>& affected)
{
    std::sort(items.begin(), items.end(), [](const UndoItem& a, const UndoItem& b) { return a.Index < b.Index; });
    std::vector<std::int32_t> ids;
    for (UndoItem& item : items) {
        if (!item.Object) continue;
        const int index = std::clamp(item.Index, 0, page.ObjectCount());
        item.Object->OwnerPage = &page;
        page.PageObjects.insert(page.PageObjects.begin() + index, std::move(item.Object));
        ids.push_back(item.Id);
        affected.push_back(item.Id);
    }
    return insertedStep(ids);
}

UndoStep restoreCopies(TfrPage& page, std::vector<UndoItem> items, std::vector<std::int32_t>& affected)
{
    UndoStep back;
    back.Kind = UndoKind::Modified;
    for (UndoItem& item : items) {
        const int index = page.IndexOfId(item.Id);
        if (index < 0 || !item.Object) continue;
        TfrView& live = *page.PageObjects[std::size_t(index)];
        back.Items.push_back({item.Id, index, copyOfObject(live)});
        const bool selected = live.Selected;
        live.CopyFrom(*item.Object);
        live.Selected = selected;
        affected.push_back(item.Id);
    }
    return back;
}

UndoStep restoreOrder(TfrPage& page, const std::vector<std::int32_t>& order, std::vector<std::int32_t>& affected)
{
    UndoStep back = reorderedStep(page);
    std::vector<std::unique_ptr<TfrView>> arranged;
    arranged.reserve(page.PageObjects.size());
    for (std::int32_t id : order) {
        const int index = page.IndexOfId(id);
        if (index < 0) continue;
        arranged.push_back(std::move(page.PageObjects[std::size_t(index)]));
        page.PageObjects.erase(page.PageObjects.begin() + index);
        affected.push_back(id);
    }
    // Objects the recorded order does not know keep their relative order at the end.
    for (auto& view : page.PageObjects) arranged.push_back(std::move(view));
    page.PageObjects = std::move(arranged);
    return back;
}

} // namespace

UndoStep revertStep(TfrPage& page, UndoStep step, std::vector<std::int32_t>& affected)
{
    switch (step.Kind) {
    case UndoKind::Inserted: return removeObjects(page, step.Items, affected);
    case UndoKind::Deleted: return restoreObjects(page, std::move(step.Items), affected);
    case UndoKind::Modified: return restoreCopies(page, std::move(step.Items), affected);
    case UndoKind::Reordered: return restoreOrder(page, step.Order, affected);
    case UndoKind::PageSettings: {
        UndoStep back = pageSettingsStep(page);
        if (step.Settings) applyPageSettings(page, *step.Settings);
        return back;
    }
    }
    return step;
}

void UndoBuffer::push(UndoEntry entry)
{
    entries_.push_back(std::move(entry));
    while (entries_.size() > kCapacity) entries_.pop_front();
}

UndoEntry UndoBuffer::takeNewest()
{
    UndoEntry entry = std::move(entries_.back());
    entries_.pop_back();
    return entry;
}

void UndoBuffer::dropPage(const TfrPage* page)
{
    std::erase_if(entries_, [page](const UndoEntry& e) { return e.Page == page; });
}

} // namespace pemvora::report
