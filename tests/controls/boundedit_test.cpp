#include "controls/amountgrid/boundamounteditmodel.h"

#include "tests/controls/edit_fixture.h"
#include "tests/controls/memory_field_link.h"

#include <gtest/gtest.h>

#include <optional>

namespace pemvora::amountgrid {
namespace {

using namespace testing;

struct BoundFixture : EditFixture<BoundAmountEditModel> {
    MemoryFieldLink link;
    BoundFixture() {
        link.stored = amount("12.5");
        model.setFieldLink(&link);
    }
};

TEST(BoundAmountEdit, ShowsTheFieldAndIsReadOnlyUntilEntered) {
    BoundFixture f;
    EXPECT_EQ(f.model.value(), amount("12.5"));
    EXPECT_TRUE(f.model.readOnly());
    EXPECT_FALSE(f.model.typeDigit(3));
    f.link.moveToRecord(amount("99"));
    EXPECT_EQ(f.model.value(), amount("99"));
    f.link.open = false;
    f.link.moveToRecord(amount("5"));
    EXPECT_EQ(f.model.value(), Amount());  // closed dataset: 0
}

TEST(BoundAmountEdit, TheFirstDigitPutsTheDatasetIntoEditMode) {
    BoundFixture f;
    f.model.focusIn();
    EXPECT_FALSE(f.model.readOnly());
    EXPECT_FALSE(f.link.editingState);
    f.model.typeDigit(3);
    EXPECT_TRUE(f.link.editingState);
    EXPECT_TRUE(f.link.modified());
    EXPECT_EQ(f.host.beforeChanges, 1);
    f.model.typeDigit(4);
    EXPECT_EQ(f.link.edits, 1);
    EXPECT_EQ(f.model.value(), amount("1234.5"));
    EXPECT_EQ(f.link.stored, amount("12.5"));  // not written before leaving
}

TEST(BoundAmountEdit, EscRestoresTheFieldWhileEditing) {
    BoundFixture f;
    f.model.focusIn();
    EXPECT_EQ(f.model.keyDown(Qt::Key_Escape, Qt::NoModifier), KeyResult::PassedOn);  // not editing yet
    f.model.typeDigit(7);
    ASSERT_EQ(f.model.value(), amount("127.5"));
    EXPECT_EQ(f.model.keyDown(Qt::Key_Escape, Qt::NoModifier), KeyResult::Handled);
    EXPECT_EQ(f.model.value(), amount("12.5"));
    EXPECT_FALSE(f.model.changeBegun());
    EXPECT_FALSE(f.link.modified());
    // The next change begins a new run and fires OnBeforeChange again.
    f.model.typeDigit(1);
    EXPECT_EQ(f.host.beforeChanges, 2);
    f.model.focusOut();
    EXPECT_EQ(f.link.stored, amount("121.5"));
}

TEST(BoundAmountEdit, LeavingWritesTheTypedValueExactly) {
    BoundFixture f;
    f.link.stored = Amount();
    f.link.moveToRecord(Amount());
    f.model.focusIn();
    for (char c : std::string("123456789012345678")) f.model.typeDigit(c - '0');
    f.model.focusOut();
    EXPECT_EQ(f.link.stored.toString(), "123456789012345678");
    EXPECT_FALSE(f.model.focused());
    f.link.post();
    EXPECT_FALSE(f.link.editingState);
    EXPECT_TRUE(f.model.readOnly());
}

TEST(BoundAmountEdit, ARefusedWriteKeepsTheFocusAndTheTypedValue) {
    BoundFixture f;
    f.model.focusIn();
    f.model.typeDigit(9);
    f.link.refuseWrites = true;
    EXPECT_THROW(f.model.focusOut(), std::runtime_error);
    EXPECT_TRUE(f.model.focused());
    EXPECT_TRUE(f.link.modified());
    EXPECT_EQ(f.model.value(), amount("129.5"));
    f.link.refuseWrites = false;
    f.model.focusOut();
    EXPECT_EQ(f.link.stored, amount("129.5"));
}

TEST(BoundAmountEdit, AReadOnlyLinkOrFieldTakesNoTyping) {
    for (bool linkReadOnly : {true, false}) {
        BoundFixture f;
        if (linkReadOnly) f.model.setLinkReadOnly(true);
        else f.link.writable = false;
        EXPECT_EQ(f.model.linkReadOnly(), linkReadOnly);
        f.model.focusIn();
        EXPECT_FALSE(f.model.typeDigit(3));
        EXPECT_FALSE(f.model.editCanModify());
        EXPECT_EQ(f.link.edits, 0);
    }
}

TEST(BoundAmountEdit, ADatasetThatCannotEditAbandonsTheChange) {
    struct StubbornLink : MemoryFieldLink {
        void startEdit() override { ++edits; }  // stays in browse state
    };
    RecordingHost host;
    BoundAmountEditModel model(fixedMeasure(), fixedMeasure());
    model.setHost(&host);
    StubbornLink link;
    link.stored = amount("8");
    model.setFieldLink(&link);
    model.setClientSize({145, 21});
    model.focusIn();
    EXPECT_FALSE(model.typeDigit(1));
    EXPECT_EQ(model.value(), amount("8"));
    EXPECT_EQ(host.changes, 0);
    EXPECT_EQ(host.beforeChanges, 0);
}

TEST(BoundAmountEdit, LetsGoOfALinkThatGoesAway) {
    BoundFixture f;
    {
        MemoryFieldLink other;
        other.stored = amount("3");
        f.model.setFieldLink(&other);
        EXPECT_EQ(f.model.value(), amount("3"));
        // The first link no longer talks to the control.
        f.link.moveToRecord(amount("77"));
        EXPECT_EQ(f.model.value(), amount("3"));
    }
    EXPECT_EQ(f.model.fieldLink(), nullptr);
    EXPECT_EQ(f.model.value(), Amount());
    EXPECT_TRUE(f.model.readOnly());
    f.model.focusIn();
    EXPECT_FALSE(f.model.typeDigit(1));
    f.model.focusOut();  // nothing to write to, nothing to fail
}

}  // namespace
}  // namespace pemvora::amountgrid
