#pragma once
// ChequeReport: the cheque window's report component `bbdy` with its data
// source `frDBDataSet1` over the cheque query, behind the ReportRunner
// interface the controller prints through. The window and `pemvora-cli
// print-cheque` both print through it; they differ only in what becomes of
// the prepared pages (the modal preview, or straight to a printer or PDF).

#include "app/binding/reportdataset.h"
#include "app/cheque/reportrunner.h"
#include "app/data/tdata.h"
#include "platform/ui/uiservices.h"
#include "report/data/datacomponent.h"
#include "report/data/datasource.h"
#include "report/model/report.h"

#include <functional>
#include <string>

namespace pemvora::app {

class ChequeReport : public ReportRunner {
public:
    // Receives the report once its pages are prepared.
    using PreparedHandler = std::function<void(report::TfrReport& report)>;

    ChequeReport(data::TData& data, ui::UiServices& ui, PreparedHandler showPrepared);
    ~ChequeReport() override;
    ChequeReport(const ChequeReport&) = delete;
    ChequeReport& operator=(const ChequeReport&) = delete;

    void SetVariable(const std::string& name, const std::string& value) override;
    Load LoadFromFile(const std::string& fileName) override;
    // Prepares the loaded template through the band engine; an error of the
    // run is shown and the pages go nowhere.
    void ShowReport() override;
    bool CanDesign() const override { return false; }
    void DesignReport() override {}

    report::TfrReport& report() { return bbdy_; }

private:
    ui::UiServices& ui_;
    PreparedHandler showPrepared_;
    // The window the component sits on: templates find frDBDataSet1 by name.
    report::ComponentContainer form_{"Form1"};
    ReportDataSet chequeQuery_;
    report::TfrDBDataSet frDBDataSet1_{"frDBDataSet1"};
    report::TfrReport bbdy_;
};

// Prints every prepared page of `report` on the printer selected in the
// engine, one job per run of pages on the same paper, each page drawn with
// the design origin at the paper's edge. Throws report::PrinterError when the
// printer takes no job (the virtual printer).
void printPreparedPages(report::TfrReport& report);

} // namespace pemvora::app
