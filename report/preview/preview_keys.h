#pragma once
// The preview's keyboard: which command a key stands for. The window has key
// preview, so these keys work wherever the focus is inside it; keys that give
// a command are consumed.

#include <Qt>

namespace pemvora::report {

enum class PreviewCommand {
    None,
    LineUp, LineDown, LineLeft, LineRight,   // the bars' small step
    ScreenUp, ScreenDown,                    // the vertical bar's large step
    PreviousPage, NextPage, FirstPage, LastPage,
    ZoomMenu, Exit, FindNext, Open, Save, Print, Find, EditPage,
};

// What the window offers at the moment of the key.
struct PreviewKeyState {
    bool hasPages = false;
    bool printEnabled = false;   // Print shown and a printer exists
    bool editShown = false;      // Edit page is offered
    bool hasSearchText = false;
};

PreviewCommand previewCommandForKey(int key, Qt::KeyboardModifiers modifiers, const PreviewKeyState& state);

} // namespace pemvora::report
