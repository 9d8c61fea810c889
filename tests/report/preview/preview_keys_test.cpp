// The preview's keys: each key's command, the conditions some of them need,
// and nothing at all without pages.

#include "report/preview/preview_keys.h"

#include <gtest/gtest.h>

namespace pemvora::report {
namespace {

using C = PreviewCommand;

TEST(PreviewKeys, KeysGiveTheirCommands)
{
    const PreviewKeyState all{true, true, true, true};
    struct Case {
        int key;
        Qt::KeyboardModifiers modifiers;
        C command;
    };
    const Case cases[] = {
        {Qt::Key_Up, Qt::NoModifier, C::LineUp},
        {Qt::Key_Down, Qt::NoModifier, C::LineDown},
        {Qt::Key_Left, Qt::NoModifier, C::LineLeft},
        {Qt::Key_Right, Qt::NoModifier, C::LineRight},
        {Qt::Key_PageUp, Qt::NoModifier, C::ScreenUp},
        {Qt::Key_PageDown, Qt::NoModifier, C::ScreenDown},
        {Qt::Key_PageUp, Qt::ControlModifier, C::PreviousPage},
        {Qt::Key_PageDown, Qt::ControlModifier, C::NextPage},
        {Qt::Key_Home, Qt::ControlModifier, C::FirstPage},
        {Qt::Key_End, Qt::ControlModifier, C::LastPage},
        {Qt::Key_Home, Qt::NoModifier, C::None},
        {Qt::Key_Space, Qt::NoModifier, C::ZoomMenu},
        {Qt::Key_Escape, Qt::NoModifier, C::Exit},
        {Qt::Key_F3, Qt::NoModifier, C::FindNext},
        {Qt::Key_O, Qt::ControlModifier, C::Open},
        {Qt::Key_S, Qt::ControlModifier, C::Save},
        {Qt::Key_P, Qt::ControlModifier, C::Print},
        {Qt::Key_F, Qt::ControlModifier, C::Find},
        {Qt::Key_E, Qt::ControlModifier, C::EditPage},
        {Qt::Key_S, Qt::NoModifier, C::None},
        {Qt::Key_X, Qt::ControlModifier, C::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(previewCommandForKey(c.key, c.modifiers, all), c.command) << "key " << std::hex << c.key;
}

TEST(PreviewKeys, PrintEditAndRepeatedSearchNeedWhatTheyWorkOn)
{
    const PreviewKeyState bare{true, false, false, false};
    EXPECT_EQ(previewCommandForKey(Qt::Key_P, Qt::ControlModifier, bare), C::None);
    EXPECT_EQ(previewCommandForKey(Qt::Key_E, Qt::ControlModifier, bare), C::None);
    EXPECT_EQ(previewCommandForKey(Qt::Key_F3, Qt::NoModifier, bare), C::None);
    EXPECT_EQ(previewCommandForKey(Qt::Key_F, Qt::ControlModifier, bare), C::Find);

    const PreviewKeyState empty{false, true, true, true};
    for (const int key : {int(Qt::Key_Escape), int(Qt::Key_Down), int(Qt::Key_Space), int(Qt::Key_F3)})
        EXPECT_EQ(previewCommandForKey(key, Qt::NoModifier, empty), C::None);
}

} // namespace
} // namespace pemvora::report
