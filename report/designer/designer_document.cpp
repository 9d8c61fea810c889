// The document's state: pages, selection, undo and redo, gestures.

#include "report/designer/designer_document.h"

#include "report/designer/designer_geometry.h"
#include "report/model/engine_context.h"
#include "report/model/objects.h"

#include <algorithm>

namespace pemvora::report {

namespace {

std::string withoutFolder(const std::string& fileName)
{
    const std::size_t slash = fileName.find_last_of("/\\");
    return slash == std::string::npos ? fileName : fileName.substr(slash + 1);
}

bool isBand(const TfrView& v) { return v.ObjectKind == kind::Band; }

int bandKindOf(const TfrView& v) { return static_cast<const TfrBandView&>(v).BandKind(); }

} // namespace

void restorePageOrder(TfrPage& page)
{
    std::vector<std::unique_ptr<TfrView>> firstOverlay, bands, cross, others;
    for (auto& view : page.PageObjects) {
        if (!isBand(*view)) others.push_back(std::move(view));
        else if (bandKindOf(*view) == bandkind::Overlay && firstOverlay.empty()) firstOverlay.push_back(std::move(view));
        else if (bandkind::isCross(bandKindOf(*view))) cross.push_back(std::move(view));
        else bands.push_back(std::move(view));
    }
    page.PageObjects.clear();
    for (auto* group : {&firstOverlay, &bands, &cross, &others})
        for (auto& view : *group) page.PageObjects.push_back(std::move(view));
}

std::string bandNamePrefix(int bandKind)
{
    std::string name(bandkind::displayName(bandKind));
    const std::size_t blank = name.find(' ');
    if (blank != std::string::npos) {
        name.erase(blank, 1);
        if (blank < name.size() && name[blank] >= 'a' && name[blank] <= 'z') name[blank] = char(name[blank] - 'a' + 'A');
    }
    return name;
}

std::array<bool, 22> enabledBandKinds(const TfrReport& report, int pageIndex)
{
    std::array<bool, 22> present{};
    bool subReportPage = false;
    for (int p = 0; p < report.Pages.Count(); ++p) {
        for (const auto& view : report.Pages.Items(p).PageObjects) {
            if (p == pageIndex && isBand(*view)) {
                const int k = bandKindOf(*view);
                if (k >= 0 && k < 22) present[std::size_t(k)] = true;
            }
            if (const auto* sub = dynamic_cast<const TfrSubReportView*>(view.get()))
                if (sub->SubPageIndex == pageIndex) subReportPage = true;
        }
    }
    std::array<bool, 22> enabled{};
    for (int k = 0; k < 22; ++k) {
        const bool always = (k >= 4 && k <= 12) || k == bandkind::GroupHeader || k == bandkind::GroupFooter
            || k == bandkind::Child;
        bool on = always || !present[std::size_t(k)];
        if (subReportPage && (k <= 3 || (k >= 14 && k <= 17))) on = false;
        enabled[std::size_t(k)] = on;
    }
    return enabled;
}

// ---------------------------------------------------------------- state

DesignerDocument::DesignerDocument(TfrReport& report) : report_(report)
{
    if (report_.Pages.Count() == 0) report_.Pages.Add();
    resetForNewTemplate();
}

DesignerDocument::~DesignerDocument()
{
    EngineContext& e = engine();
    if (pageIndex_ < report_.Pages.Count() && e.DesignerPage == &page()) e.DesignerPage = nullptr;
}

void DesignerDocument::resetForNewTemplate()
{
    engine().CurrentReport = &report_;
    documentName_ = report_.TemplateFileName;
    loadFailed_ = report_.LoadFailed;
    modified_ = false;
    undo_.clear();
    redo_.clear();
    for (int p = 0; p < report_.Pages.Count(); ++p)
        for (const auto& view : report_.Pages.Items(p).PageObjects) view->Selected = false;
    firstSelectedId_ = -1;
    pageIndex_ = 0;
    engine().DesignerPage = &page();
}

void DesignerDocument::addObserver(DocumentObserver* observer) { observers_.push_back(observer); }

void DesignerDocument::removeObserver(DocumentObserver* observer) { std::erase(observers_, observer); }

std::string DesignerDocument::caption() const { return "Designer - " + withoutFolder(documentName_); }

void DesignerDocument::setModified(bool modified)
{
    if (modified_ == modified) return;
    modified_ = modified;
    for (DocumentObserver* o : observers_) o->documentChanged();
}

void DesignerDocument::changed(bool documentToo)
{
    for (DocumentObserver* o : observers_) o->pageChanged();
    for (DocumentObserver* o : observers_) o->selectionChanged();
    if (documentToo)
        for (DocumentObserver* o : observers_) o->documentChanged();
}

void DesignerDocument::notifyPageChanged()
{
    for (DocumentObserver* o : observers_) o->pageChanged();
}

void DesignerDocument::selectionTouched()
{
    for (DocumentObserver* o : observers_) o->selectionChanged();
    for (DocumentObserver* o : observers_) o->pageChanged();
}

// ---------------------------------------------------------------- pages

void DesignerDocument::showPage(int index)
{
    if (index < 0 || index >= pageCount()) return;
    for (const auto& view : page().PageObjects) view->Selected = false;
    firstSelectedId_ = -1;
    pageIndex_ = index;
    engine().CurrentReport = &report_;
    engine().DesignerPage = &page();
    changed(true);
}

void DesignerDocument::addPage()
{
    clearSelection();
    const int index = report_.Pages.Add();
    modified_ = true;
    showPage(index);
}

void DesignerDocument::addDialogPage()
{
    clearSelection();
    const int index = report_.Pages.Add();
    report_.Pages.Items(index).Type = pagetype::Dialog;
    modified_ = true;
    showPage(index);
}

bool DesignerDocument::removeCurrentPage()
{
    if (pageCount() <= 1) return false;
    const TfrPage* removed = &page();
    undo_.dropPage(removed);
    redo_.dropPage(removed);
    const int index = pageIndex_;
    // Sub-reports refer to pages by index: those after the removed one move up.
    for (int p = 0; p < pageCount(); ++p)
        for (const auto& view : report_.Pages.Items(p).PageObjects)
            if (auto* sub = dynamic_cast<TfrSubReportView*>(view.get()); sub && sub->SubPageIndex > index)
                --sub->SubPageIndex;
    engine().DesignerPage = nullptr;
    report_.Pages.Delete(index);
    pageIndex_ = std::min(index, pageCount() - 1);
    modified_ = true;
    showPage(pageIndex_);
    return true;
}

// ---------------------------------------------------------------- selection

std::vector<TfrView*> DesignerDocument::selection() const
{
    std::vector<TfrView*> out;
    for (const auto& view : page().PageObjects)
        if (view->Selected) out.push_back(view.get());
    return out;
}

int DesignerDocument::selectedCount() const
{
    return static_cast<int>(std::count_if(page().PageObjects.begin(), page().PageObjects.end(),
                                          [](const auto& v) { return v->Selected; }));
}

TfrView* DesignerDocument::singleSelected() const
{
    const std::vector<TfrView*> selected = selection();
    return selected.size() == 1 ? selected.front() : nullptr;
}

void DesignerDocument::select(TfrView& view, bool selected)
{
    if (view.Selected == selected) return;
    // The first object of a selection leads the alignment palette while it
    // stays selected; once it is deselected, none does.
    if (selected && selectedCount() == 0) firstSelectedId_ = view.Id;
    view.Selected = selected;
    if (!selected && view.Id == firstSelectedId_) {
        firstSelectedId_ = -1;
    }
    selectionTouched();
}

void DesignerDocument::selectOnly(TfrView& view)
{
    for (const auto& v : page().PageObjects) v->Selected = false;
    firstSelectedId_ = -1;
    view.Selected = false;
    select(view, true);
}

void DesignerDocument::toggleSelected(TfrView& view) { select(view, !view.Selected); }

void DesignerDocument::clearSelection()
{
    for (const auto& v : page().PageObjects) v->Selected = false;
    firstSelectedId_ = -1;
    selectionTouched();
}

void DesignerDocument::selectAll()
{
    if (selectedCount() == 0 && !page().PageObjects.empty()) firstSelectedId_ = page().PageObjects.front()->Id;
    for (const auto& v : page().PageObjects) v->Selected = true;
    selectionTouched();
}

TfrView* DesignerDocument::referenceObject() const
{
    TfrView* first = objectById(firstSelectedId_);
    if (first && first->Selected) return first;
    const std::vector<TfrView*> selected = selection();
    return selected.empty() ? nullptr : selected.front();
}

TfrView* DesignerDocument::objectById(std::int32_t id) const
{
    if (id < 0) return nullptr;
    const int index = page().IndexOfId(id);
    return index < 0 ? nullptr : page().PageObjects[std::size_t(index)].get();
}

TfrView* DesignerDocument::objectAt(Point p) const
{
    const auto& objects = page().PageObjects;
    for (auto it = objects.rbegin(); it != objects.rend(); ++it)
        if (hitsObject(rectOf(**it), p)) return it->get();
    return nullptr;
}

// ---------------------------------------------------------------- undo

void DesignerDocument::record(UndoEntry entry)
{
    if (!options_.DisableUndo) {
        undo_.push(std::move(entry));
        redo_.clear();
    }
    const bool wasModified = modified_;
    modified_ = true;
    if (!wasModified)
        for (DocumentObserver* o : observers_) o->documentChanged();
}

void DesignerDocument::recordStep(UndoStep step)
{
    UndoEntry entry;
    entry.Page = &page();
    entry.Steps.push_back(std::move(step));
    record(std::move(entry));
}

void DesignerDocument::beginGesture()
{
    gestureOpen_ = true;
    gestureRecorded_ = false;
}

void DesignerDocument::endGesture()
{
    gestureOpen_ = false;
    gestureRecorded_ = false;
}

void DesignerDocument::recordModified(const std::vector<const TfrView*>& objects)
{
    if (gestureOpen_ && gestureRecorded_) return;
    recordStep(modifiedStep(objects));
    if (gestureOpen_) gestureRecorded_ = true;
}

bool DesignerDocument::canUndo() const { return !undo_.empty() && undo_.newest().Page == &page(); }

bool DesignerDocument::canRedo() const { return !redo_.empty() && redo_.newest().Page == &page(); }

bool DesignerDocument::applyEntry(UndoBuffer& from, UndoBuffer& to)
{
    // Entries of another page wait until that page is shown again.
    if (from.empty() || from.newest().Page != &page()) return false;
    UndoEntry entry = from.takeNewest();
    UndoEntry back;
    back.Page = entry.Page;
    std::vector<std::int32_t> affected;
    for (auto step = entry.Steps.rbegin(); step != entry.Steps.rend(); ++step)
        back.Steps.push_back(revertStep(page(), std::move(*step), affected));
    to.push(std::move(back));

    for (const auto& v : page().PageObjects) v->Selected = false;
    firstSelectedId_ = -1;
    for (std::int32_t id : affected)
        if (TfrView* view = objectById(id); view && !view->Selected) {
            view->Selected = true;
            if (firstSelectedId_ < 0) firstSelectedId_ = id;
        }
    modified_ = true;
    changed(true);
    return true;
}

bool DesignerDocument::undo() { return applyEntry(undo_, redo_); }

bool DesignerDocument::redo() { return applyEntry(redo_, undo_); }

} // namespace pemvora::report
