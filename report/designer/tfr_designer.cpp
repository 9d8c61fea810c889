#include "report/designer/tfr_designer.h"

#include "report/designer/designer_form.h"
#include "report/model/engine_context.h"

namespace pemvora::report {

namespace {
TfrDesigner* theDesigner = nullptr;
} // namespace

TfrDesigner::TfrDesigner()
{
    if (theDesigner) throw DesignerError("You already have one TfrDesigner component");
    theDesigner = this;
    // DesignReport of the run control opens this component's window.
    engine().Presenters.Designer = [](TfrReport& report) {
        return theDesigner ? theDesigner->DesignReport(report) : static_cast<int>(ModalResult::Cancel);
    };
}

TfrDesigner::~TfrDesigner()
{
    theDesigner = nullptr;
    engine().Presenters.Designer = nullptr;
}

TfrDesigner* TfrDesigner::instance() { return theDesigner; }

int TfrDesigner::DesignReport(TfrReport& report)
{
    TfrDesignerForm form(report, this);
    return static_cast<int>(form.execModal());
}

} // namespace pemvora::report
