// Keys of the preview window.

#include "report/preview/preview_keys.h"

namespace pemvora::report {

PreviewCommand previewCommandForKey(int key, Qt::KeyboardModifiers modifiers, const PreviewKeyState& state)
{
    using C = PreviewCommand;
    if (!state.hasPages) return C::None;
    const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
    switch (key) {
    case Qt::Key_Up: return C::LineUp;
    case Qt::Key_Down: return C::LineDown;
    case Qt::Key_Left: return C::LineLeft;
    case Qt::Key_Right: return C::LineRight;
    case Qt::Key_PageUp: return ctrl ? C::PreviousPage : C::ScreenUp;
    case Qt::Key_PageDown: return ctrl ? C::NextPage : C::ScreenDown;
    case Qt::Key_Home: return ctrl ? C::FirstPage : C::None;
    case Qt::Key_End: return ctrl ? C::LastPage : C::None;
    case Qt::Key_Space: return C::ZoomMenu;
    case Qt::Key_Escape: return C::Exit;
    case Qt::Key_F3: return state.hasSearchText ? C::FindNext : C::None;
    default: break;
    }
    if (!ctrl) return C::None;
    switch (key) {
    case Qt::Key_O: return C::Open;
    case Qt::Key_S: return C::Save;
    case Qt::Key_P: return state.printEnabled ? C::Print : C::None;
    case Qt::Key_F: return C::Find;
    case Qt::Key_E: return state.editShown ? C::EditPage : C::None;
    default: return C::None;
    }
}

} // namespace pemvora::report
