#pragma once
// Preparing a report: one run of the band engine (two passes for a two-pass
// template) into the report's prepared pages, without any window.
//
// This is the engine's side of PrepareReport. The run control adds what a
// user sees around it: the progress window (RunControl::Progress, Cancel by
// setting the report's Terminated), the message box with the error text, and
// restoring the template from a copy saved before the run (scripts may change
// objects while the run goes on; the band engine itself gives every object
// its place back).

#include "report/engine/band_engine.h"

#include <string>

namespace pemvora::report {

class TfrReport;

struct PrepareResult {
    // The run went to its end: not stopped by an error, STOPREPORT or Cancel.
    bool Completed = false;
    // An error ended the run; ErrorText names the report, the object and the error.
    bool Failed = false;
    std::string ErrorText;
    // Prepared pages made (none after an error, or after a two-pass run was
    // stopped in its first pass).
    int Pages = 0;
};

// Prepares `report` into PreparedPages(report): the engine's run state is set
// up (Running, the start date and time, the current report, the evaluator
// bound to it), the scripts compiled, the passes run. Nothing escapes: every
// error ends in the result's ErrorText (also kept in engine().ErrorText).
PrepareResult PrepareReportPages(TfrReport& report, const RunControl& control = {});

} // namespace pemvora::report
