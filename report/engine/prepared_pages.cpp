#include "report/engine/prepared_pages.h"

#include "platform/text/gbk.h"
#include "report/model/engine_context.h"
#include "report/model/memo.h"
#include "report/model/report.h"
#include "report/model/template_codec.h"
#include "report/model/view.h"

#include <fmt/format.h>

namespace pemvora::report {

namespace {

// PreparedMode for the length of one read or write, cleared on every way out.
class PreparedModeScope {
public:
    explicit PreparedModeScope(TfrView& view) : view_(view) { view_.PreparedMode = true; }
    ~PreparedModeScope() { view_.PreparedMode = false; }
    PreparedModeScope(const PreparedModeScope&) = delete;
    PreparedModeScope& operator=(const PreparedModeScope&) = delete;

private:
    TfrView& view_;
};

std::string describe(const std::exception& e)
{
    if (dynamic_cast<const StreamError*>(&e)) return "an object record ends early";
    return e.what();
}

PaperRequest requestOf(const TfrPreparedPage& page)
{
    return {page.Paper.size, page.Paper.width, page.Paper.height, page.Paper.orientation, page.Paper.bin};
}

} // namespace

void WritePreparedRecord(BinaryWriter& stream, TfrView& view)
{
    PreparedModeScope prepared(view);
    TemplateWriter writer(stream);
    stream.u8(view.ObjectKind);
    if (view.ObjectKind == kind::PlugIn) writer.WriteString(view.ClassName(), "class name");
    SaveObjectRecord(writer, view);
}

std::vector<std::unique_ptr<TfrView>> ReadPreparedObjects(std::string_view stream)
{
    std::vector<std::unique_ptr<TfrView>> objects;
    // A stream without even its version byte holds no objects.
    if (stream.empty()) return objects;
    BinaryReader in(stream);
    const int version = in.u8();
    if (version < kOldestTemplateVersion || version > kTemplateVersion)
        throw PreparedReportError(fmt::format("the objects are stored in an unknown format ({})", version));
    TemplateReader reader(in, version);
    while (!in.atEnd()) {
        const std::size_t start = in.position();
        std::string className;
        try {
            const std::uint8_t kindCode = in.u8();
            if (kindCode == kind::PlugIn) className = reader.ReadString();
            std::unique_ptr<TfrView> view = CreateObject(kindCode, className);
            if (!view) throw PreparedReportError(fmt::format("unknown object kind {}", kindCode));
            {
                PreparedModeScope prepared(*view);
                LoadObjectRecord(reader, *view);
            }
            objects.push_back(std::move(view));
        } catch (const EClassNotFound&) {
            throw PreparedReportError(
                fmt::format("an object of class \"{}\", which this program does not know", text::gbkToUtf8(className)));
        } catch (const PreparedReportError&) {
            throw;
        } catch (const std::exception& e) {
            throw PreparedReportError(fmt::format("object at byte {}: {}", start, describe(e)));
        }
    }
    return objects;
}

// ---------------------------------------------------------------- the list

void TfrEMFPages::Clear() { pages_.clear(); }

void TfrEMFPages::Add(const TfrPage& templatePage)
{
    Insert(Count(), templatePage);
    EngineContext& e = engine();
    const int pageNo = e.PageNo;
    TfrReport* current = e.CurrentReport;
    TfrReport* root = e.RootReport;
    if (current && current->OnBeginPage) current->OnBeginPage(pageNo);
    if (root && root != current && root->OnBeginPage) root->OnBeginPage(pageNo);
}

bool TfrEMFPages::Insert(int index, const TfrPage& templatePage)
{
    auto page = std::make_unique<TfrPreparedPage>();
    page->Paper = templatePage.Paper;
    page->Paper.size &= 0xFFFF;
    page->UseMargins = templatePage.MarginsInUse;
    page->Margins = templatePage.Margins;
    page->Stream.u8(kPreparedRecordVersion);
    const bool useMargins = page->UseMargins;
    const std::size_t at = index < 0 ? 0 : std::min(static_cast<std::size_t>(index), pages_.size());
    pages_.insert(pages_.begin() + static_cast<std::ptrdiff_t>(at), std::move(page));
    return useMargins;
}

void TfrEMFPages::Delete(int index)
{
    if (index < 0 || index >= Count()) return;
    pages_.erase(pages_.begin() + index);
}

void TfrEMFPages::PrintObject(int index, TfrView& view)
{
    BinaryWriter& stream = Page(index).Stream;
    PreparedModeScope prepared(view);
    view.Print(stream);
}

void TfrEMFPages::AppendObject(int index, TfrView& view) { WritePreparedRecord(Page(index).Stream, view); }

// ---------------------------------------------------------------- objects of a page

void TfrEMFPages::LoadPageObjects(int index)
{
    TfrPreparedPage& page = Page(index);
    if (page.PageObjects) return;
    // Read first: a stream that fails leaves no half-built page behind.
    std::vector<std::unique_ptr<TfrView>> objects = ReadPreparedObjects(page.Stream.data());
    auto objectsPage = std::make_unique<TfrPage>(requestOf(page));
    objectsPage->Margins = page.Margins;
    objectsPage->MarginsInUse = page.UseMargins;
    EngineContext& e = engine();
    e.CurrentPage = objectsPage.get();
    for (auto& view : objects) objectsPage->Add(std::move(view));
    page.PageObjects = std::move(objectsPage);

    // A text object with AutoWidth takes the width of its printed lines: it is
    // painted once, as a prepared page is, where nobody sees it.
    const int running = e.Running;
    e.Running = 1;
    struct RestoreRunning {
        int& flag;
        int value;
        ~RestoreRunning() { flag = value; }
    } restore{e.Running, running};
    for (const auto& view : page.PageObjects->PageObjects) {
        if (!dynamic_cast<TfrMemoView*>(view.get()) || !(view->Flags & flag::AutoWidth)) continue;
        view->DeviceScaleX = view->DeviceScaleY = 1.0;
        view->DeviceOffsetX = view->DeviceOffsetY = 0;
        view->ToPrinter = false;
        view->Paint(scratchCanvas());
    }
}

void TfrEMFPages::StorePageObjects(int index)
{
    TfrPreparedPage& page = Page(index);
    if (!page.PageObjects) return;
    BinaryWriter stream;
    stream.u8(kPreparedRecordVersion);
    for (const auto& view : page.PageObjects->PageObjects) {
        view->WorkLines = view->Memo;
        WritePreparedRecord(stream, *view);
    }
    page.Stream = std::move(stream);
}

void TfrEMFPages::ReleasePageObjects(int index) { Page(index).PageObjects.reset(); }

// ---------------------------------------------------------------- the report's list

TfrEMFPages& PreparedPages(TfrReport& report)
{
    if (!report.EMFPages) report.EMFPages = std::make_shared<TfrEMFPages>(&report);
    return *report.EMFPages;
}

void LoadPreparedReport(TfrReport& report, const std::string& fileName)
{
    PreparedPages(report).LoadFromFile(fileName);
    report.CanRebuild = false;
}

void SavePreparedReport(TfrReport& report, const std::string& fileName)
{
    PreparedPages(report).SaveToFile(fileName);
}

} // namespace pemvora::report
