#pragma once
// What the parts of the run control share: the engine's texts of a run, its
// messages through the UI services, and the progress window of a run.

#include "platform/ui/uiservices.h"
#include "report/engine/run_control.h"

#include <memory>
#include <string>

namespace pemvora::report {

namespace runtext {
inline constexpr const char* Error = "Error";
inline constexpr const char* PreparingReport = "Preparing report";
inline constexpr const char* PerformingFirstPass = "Performing 1st pass:";
inline constexpr const char* ProcessingPage = "Processing page:";
inline constexpr const char* PrintingPage = "Printing page:";
inline constexpr const char* From = "from";
inline constexpr const char* Preview = "Preview";
inline constexpr const char* Untitled = "Untitled";
inline constexpr const char* Print = "Print";
} // namespace runtext

// A message of the run: engine text (GBK, carriage returns between lines)
// shown through the UI services.
void ShowRunMessage(const std::string& gbkText, const std::string& caption, ui::Icon icon);

// The progress window a run shows: none with ShowProgress off, with an
// OnProgress handler or a progress callback of the caller, or when the
// program installed no window.
std::unique_ptr<ProgressWindow> ProgressWindowFor(const TfrReport& report, const RunControl& control);

// "Preparing report" or "Preview", then " - " and the title when there is one.
std::string RunCaption(const TfrReport& report, const std::string& what);

} // namespace pemvora::report
