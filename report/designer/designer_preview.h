#pragma once
// "Preview report" from the designer. A run puts the template back from a copy
// when it ends, which makes every object anew; the designer holds its objects
// (the selection, the inspector, the undo entries' pages), so the run works on
// a copy of the report instead and the designer's report is not touched.

namespace pemvora::report {

class TfrReport;

// Whether the program has a preview window to show a run in.
bool previewAvailable();

// Prepares a copy of `report` (its template, settings, data links and
// events) and shows it in the preview, modally. A template the writer refuses
// is reported through the UI services and nothing runs.
void previewReport(TfrReport& report);

} // namespace pemvora::report
