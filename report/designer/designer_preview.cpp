#include "report/designer/designer_preview.h"

#include "platform/text/gbk.h"
#include "platform/ui/uiservices.h"
#include "report/engine/run_control.h"
#include "report/model/engine_context.h"
#include "report/model/report.h"

#include <exception>
#include <string>

namespace pemvora::report {

namespace {

// What the template file does not carry: how the run is shown, what it reads
// and the host's events.
void takeRunSettings(const TfrReport& from, TfrReport& to)
{
    to.Owner = from.Owner;
    to.Dataset = from.Dataset;
    to.DefaultCopies = from.DefaultCopies;
    to.DefaultCollate = from.DefaultCollate;
    to.GrayedButtons = from.GrayedButtons;
    to.InitialZoom = from.InitialZoom;
    to.ModifyPrepared = from.ModifyPrepared;
    to.PreviewButtons = from.PreviewButtons;
    to.PrintIfEmpty = from.PrintIfEmpty;
    to.ReportType = from.ReportType;
    to.ShowPrintDialog = from.ShowPrintDialog;
    to.ShowProgress = from.ShowProgress;
    to.Title = from.Title;
    to.RebuildPrinter = from.RebuildPrinter;
    to.UseDefaultDataSetName = from.UseDefaultDataSetName;
    to.OnBeginDoc = from.OnBeginDoc;
    to.OnEndDoc = from.OnEndDoc;
    to.OnBeginPage = from.OnBeginPage;
    to.OnEndPage = from.OnEndPage;
    to.OnBeginBand = from.OnBeginBand;
    to.OnEndBand = from.OnEndBand;
    to.OnGetValue = from.OnGetValue;
    to.OnBeforePrint = from.OnBeforePrint;
    to.OnUserFunction = from.OnUserFunction;
    to.OnProgress = from.OnProgress;
    to.OnBeginColumn = from.OnBeginColumn;
    to.OnPrintColumn = from.OnPrintColumn;
    to.OnManualBuild = from.OnManualBuild;
    to.OnObjectClick = from.OnObjectClick;
    to.OnMouseOverObject = from.OnMouseOverObject;
    to.OnPrintReport = from.OnPrintReport;
    to.OnCustomizeObject = from.OnCustomizeObject;
    to.TemplateFileName = from.TemplateFileName;
    // The copy lives only as long as this call: the preview must end with it.
    to.ModalPreview = true;
    to.MDIPreview = false;
    to.Preview = nullptr;
}

} // namespace

bool previewAvailable() { return static_cast<bool>(engine().Presenters.Preview); }

void previewReport(TfrReport& report)
{
    EngineContext& e = engine();
    TfrReport* const rootReport = e.RootReport;
    TfrPage* const designerPage = e.DesignerPage;
    std::string bytes;
    try {
        bytes = report.SaveToBytes();
    } catch (const std::exception& failure) {
        ui::services().message(text::gbkToUtf8(failure.what()), "Error", ui::Icon::Error);
        return;
    }
    {
        TfrReport copy;
        copy.LoadFromBytes(bytes, TemplateOrigin::Memory);
        takeRunSettings(report, copy);
        try {
            ShowReport(copy);
        } catch (const std::exception& failure) {
            ui::services().message(text::gbkToUtf8(failure.what()), "Error", ui::Icon::Error);
        }
        e.CurrentView = nullptr;
        e.CurrentPage = nullptr;
        e.CurrentBand = nullptr;
    }
    e.CurrentReport = &report;
    e.RootReport = rootReport;
    e.DesignerPage = designerPage;
}

} // namespace pemvora::report
