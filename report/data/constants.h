#pragma once
// The named constants every expression can use (frConstants): colours, dialog
// results, CRLF and Null, font styles, frame sides, alignments, pen styles and
// message box flags.

namespace pemvora::report {

class TfrVariables;

// Fills `constants` (made sorted) with every constant.
void FillConstants(TfrVariables& constants);

} // namespace pemvora::report
