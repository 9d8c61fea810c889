#pragma once
// TfrDesigner: the designer component. Its presence in the program makes
// DesignReport (the run control's) open the designer window: it is the
// designer presenter of the engine context while it exists. Only one may exist. It carries the
// settings and events the window uses (the close question, the folders of
// the file dialogs, handlers that replace opening and saving).

#include "report/model/report.h"

#include <functional>
#include <stdexcept>
#include <string>

namespace pemvora::report {

class DesignerError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TfrDesigner {
public:
    // Raises DesignerError "You already have one TfrDesigner component" when
    // one exists already.
    TfrDesigner();
    ~TfrDesigner();
    TfrDesigner(const TfrDesigner&) = delete;
    TfrDesigner& operator=(const TfrDesigner&) = delete;

    static TfrDesigner* instance();

    // Shows the designer window on the report, modally; returns its modal
    // result (1 OK, 2 Cancel). The report is edited in place.
    int DesignReport(TfrReport& report);

    bool CloseQuery = true;
    bool HideDisabledButtons = true;
    std::string OpenDir, SaveDir, TemplateDir;   // GBK
    std::function<bool(TfrReport& report, std::string& fileName)> OnLoadReport;
    std::function<bool(TfrReport& report, const std::string& fileName, bool saveAs)> OnSaveReport;
    std::function<void()> OnShow;
};

} // namespace pemvora::report
