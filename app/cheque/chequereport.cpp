#include "app/cheque/chequereport.h"

#include "platform/text/gbk.h"
#include "report/engine/run_control.h"
#include "report/model/engine_context.h"

#include <filesystem>

namespace pemvora::app {

ChequeReport::ChequeReport(data::TData& data, ui::UiServices& ui)
    : ui_(ui), chequeQuery_(data.ZPJE, "ZPJE")
{
    frDBDataSet1_.SetDataSet(&chequeQuery_);
    form_.add(&frDBDataSet1_);
    bbdy_.Owner = &form_;
    bbdy_.Dataset = &frDBDataSet1_;
    bbdy_.InitialZoom = report::TfrPreviewZoom::pzDefault;
    bbdy_.ModifyPrepared = false;
    bbdy_.PreviewButtons = report::previewbutton::pbZoom | report::previewbutton::pbLoad
        | report::previewbutton::pbSave | report::previewbutton::pbPrint | report::previewbutton::pbFind
        | report::previewbutton::pbHelp | report::previewbutton::pbExit;
    bbdy_.ShowPrintDialog = false;
    bbdy_.RebuildPrinter = false;
}

ChequeReport::~ChequeReport()
{
    report::EngineContext& e = report::engine();
    if (e.CurrentReport == &bbdy_) e.CurrentReport = nullptr;
}

void ChequeReport::SetVariable(const std::string& name, const std::string& value)
{
    report::engine().Variables.SetVariable(text::utf8ToGbk(name), Value(text::utf8ToGbk(value)));
}

ReportRunner::Load ChequeReport::LoadFromFile(const std::string& fileName)
{
    std::string gbkName;
    // A name GBK cannot hold cannot name a template of ours either.
    if (!text::tryUtf8ToGbk(fileName, gbkName) || !std::filesystem::is_regular_file(fileName)) return Load::Missing;
    report::engine().CurrentReport = &bbdy_;
    try {
        if (!bbdy_.LoadFromFile(gbkName)) return Load::Missing;
    } catch (const std::exception& e) {
        ui_.error(text::gbkToUtf8(e.what()));
        return Load::Failed;
    }
    // The loader has shown why (a damaged file, a refused password).
    return bbdy_.LoadFailed ? Load::Failed : Load::Loaded;
}

void ChequeReport::ShowReport()
{
    report::ShowReport(bbdy_);
}

bool ChequeReport::CanDesign() const
{
    return static_cast<bool>(report::engine().Presenters.Designer);
}

void ChequeReport::DesignReport()
{
    report::DesignReport(bbdy_);
}

} // namespace pemvora::app
