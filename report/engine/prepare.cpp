#include "report/engine/prepare.h"

#include "report/engine/prepared_pages.h"
#include "report/model/report.h"
#include "report/script/names.h"
#include "report/script/scriptrun.h"

#include <QDateTime>

namespace pemvora::report {

namespace {

void takeStartDateAndTime(EngineContext& e)
{
    const QDateTime now = QDateTime::currentDateTime();
    const QDate d = now.date();
    const QTime t = now.time();
    e.StartDate = encodeDate(d.year(), d.month(), d.day());
    e.StartTime = encodeTime(t.hour(), t.minute(), t.second(), t.msec());
}

// The error path for what fails outside of an object's print.
void failRun(TfrReport& report, const RunControl& control, const std::exception& error)
{
    EngineContext& e = engine();
    if (!e.ErrorFlag) {
        e.ErrorText = CalculationErrorText(ReportNameFor(report, control), e.CurrentView, error.what());
    }
    e.ErrorFlag = true;
    report.Terminated = true;
}

} // namespace

PrepareResult PrepareReportPages(TfrReport& report, const RunControl& control)
{
    EngineContext& e = engine();
    TfrEMFPages& pages = PreparedPages(report);
    e.Running = 1;
    takeStartDateAndTime(e);
    e.CurrentPage = nullptr;
    e.CurrentBand = nullptr;
    e.CurrentView = nullptr;
    e.RootReport = e.CurrentReport = &report;
    evaluatorFor(report);
    report.Pages.ReapplyBandAlign();

    report.Terminated = false;
    report.CanRebuild = true;
    e.AppendToPrevious = false;
    e.MeasuringPass = false;
    e.FinalPass = true;
    e.PageNo = 0;
    e.TotalPages = 0;
    e.ErrorFlag = false;
    e.ErrorText.clear();
    pages.Clear();

    try {
        ReportScripts scripts(report);
        BandEngine run(report, scripts, pages, control);
        try {
            if (report.TwoPass) {
                e.MeasuringPass = true;
                e.FinalPass = false;
                run.RunPass();
                e.TotalPages = pages.Count();
                pages.Clear();
                if (!report.Terminated) {
                    e.MeasuringPass = false;
                    e.FinalPass = true;
                    e.PageNo = 0;
                    e.AppendToPrevious = false;
                    run.RunPass();
                }
            } else {
                run.RunPass();
            }
        } catch (const std::exception& error) {
            run.Fail(error);
        }
    } catch (const std::exception& error) {
        failRun(report, control, error);
    }

    e.MeasuringPass = false;
    e.FinalPass = false;
    e.CurrentBand = nullptr;
    if (e.ErrorFlag) pages.Clear();

    PrepareResult result;
    result.Failed = e.ErrorFlag;
    result.ErrorText = e.ErrorText;
    result.Completed = !report.Terminated;
    result.Pages = pages.Count();
    return result;
}

} // namespace pemvora::report
