#pragma once
// ChequeReport: the cheque window's report component `bbdy` with its data
// source `frDBDataSet1` over the cheque query, behind the ReportRunner
// interface the controller prints through. The window and `pemvora-cli
// print-cheque` both print through it; they differ only in the preview the
// program installs in the engine (the modal preview window, or one that
// prints the pages at once).

#include "app/binding/reportdataset.h"
#include "app/cheque/reportrunner.h"
#include "app/data/tdata.h"
#include "platform/ui/uiservices.h"
#include "report/data/datacomponent.h"
#include "report/data/datasource.h"
#include "report/model/report.h"

#include <string>

namespace pemvora::app {

class ChequeReport : public ReportRunner {
public:
    ChequeReport(data::TData& data, ui::UiServices& ui);
    ~ChequeReport() override;
    ChequeReport(const ChequeReport&) = delete;
    ChequeReport& operator=(const ChequeReport&) = delete;

    void SetVariable(const std::string& name, const std::string& value) override;
    Load LoadFromFile(const std::string& fileName) override;
    // Prepares the loaded template and hands the pages to the program's preview.
    void ShowReport() override;
    // Whether the program installed a designer.
    bool CanDesign() const override;
    void DesignReport() override;

    report::TfrReport& report() { return bbdy_; }

private:
    ui::UiServices& ui_;
    // The window the component sits on: templates find frDBDataSet1 by name.
    report::ComponentContainer form_{"Form1"};
    ReportDataSet chequeQuery_;
    report::TfrDBDataSet frDBDataSet1_{"frDBDataSet1"};
    report::TfrReport bbdy_;
};

} // namespace pemvora::app
