#pragma once
// What the designer keeps for the whole process, from one opening of the
// designer window to the next: the values new objects take (the font, frame
// and fill used last) and the designer's own clipboard of object records.
// One object, like the printing state, so that tests can start afresh.

#include "report/canvas/canvas.h"
#include "report/model/memo.h"
#include "report/model/types.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace pemvora::report {

class TfrReport;

// The values a new object takes; the toolbar actions update them.
struct LastUsedValues {
    std::uint16_t FrameLines = 0;          // frame lines of new text objects
    float FrameWidth = 1.0f;               // new objects other than lines
    float LineFrameWidth = 2.0f;           // new line objects
    Color FrameColor = kBlack;
    Color FillColor = kNoColor;
    std::string FontName = "Arial";        // GBK
    int FontSize = 10;
    Color FontColor = kBlack;
    int FontStyle = 0;                     // stored encoding (fontstyle)
    int FontCharset = kEngineDefaultCharset;
    std::uint32_t Alignment = 0;           // alignment word of new text objects
};

// One copied object: its kind byte, class name and stored record (the
// template's current version), as the template file holds an object.
struct ClipboardRecord {
    std::uint8_t Kind = 0;
    std::string ClassName;
    std::string Record;
};

// What the text editor and its dialogs preselect at their next opening.
struct TextEditorChoices {
    bool ScriptShown = true;
    std::string DataSet;            // last chosen in "Insert data field" (GBK)
    std::string VariableCategory;   // last chosen in "Variables" (GBK)
};

struct DesignerSession {
    LastUsedValues LastUsed;
    std::vector<ClipboardRecord> Clipboard;
    TextEditorChoices TextEditor;
};

DesignerSession& designerSession();
// Back to the values of a freshly started process.
void resetDesignerSession();

// At every opening of the designer the font of new text objects goes back to
// "Arial" in 10 points, or the first installed family (GBK names) when Arial is
// not among them.
void resetNewObjectFont(const std::vector<std::string>& installedFamilies);

} // namespace pemvora::report
