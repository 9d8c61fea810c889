#include "platform/ui/uiservices.h"
#include "tests/support/recording_ui.h"

#include <gtest/gtest.h>

using namespace pemvora;
using pemvora::testsupport::RecordingUi;

TEST(UiServices, WithoutAScreenMessagesGoToStandardErrorAndQuestionsDoNothing)
{
    struct Case {
        ui::Buttons buttons;
        ui::Answer answer;
    };
    const Case cases[] = {
        {ui::Buttons::Ok, ui::Answer::Ok},
        {ui::Buttons::OkCancel, ui::Answer::Cancel},
        {ui::Buttons::YesNo, ui::Answer::No},
        {ui::Buttons::YesNoCancel, ui::Answer::Cancel},
    };
    for (const Case& c : cases) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(ui::services().message("Save the cheque?", "提示", ui::Icon::Question, c.buttons), c.answer);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "提示: Save the cheque?\n");
    }
    testing::internal::CaptureStderr();
    ui::services().error("Cannot open the database");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Cannot open the database\n");
    EXPECT_EQ(ui::services().password("Password", "Enter password"), std::nullopt);
}

TEST(UiServices, InstalledServicesGoBeforeTheProgramsAndLeaveThemInForce)
{
    RecordingUi program, test;
    ui::setProgramServices(&program);
    ui::services().error("one");
    ui::installServices(&test);
    ui::services().error("two");
    ui::installServices(nullptr);
    ui::services().error("three");
    ui::setProgramServices(nullptr);
    testing::internal::CaptureStderr();
    ui::services().error("four");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "four\n");

    EXPECT_EQ(program.errors, (std::vector<std::string>{"one", "three"}));
    EXPECT_EQ(test.errors, std::vector<std::string>{"two"});
}
