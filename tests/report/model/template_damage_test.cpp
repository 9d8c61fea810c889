// Damaged templates: every truncation of a good one and thousands of random
// byte changes load without a crash or a hang, and either succeed or say why.

#include "tests/report/model/template_sample.h"
#include "tests/report/model/template_support.h"

#include "report/model/template_codec.h"

#include <gtest/gtest.h>

#include <random>

namespace pemvora::report::test {
namespace {

constexpr const char* kUnsupported = "Unsupported FRF format";
constexpr const char* kMissing = "Report contains the following non-plugged components:";

class DamagedTemplates : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetAll();
        TfrReport sample;
        buildSample(sample);
        good = sample.SaveToBytes();
    }
    std::string good;
};

TEST_F(DamagedTemplates, EveryTruncationFailsCleanlyUnlessOnlyTheTrailerIsMissing)
{
    // Where the trailer starts: 7 strings, the password, 18 bytes.
    TfrReport sample;
    buildSample(sample);
    std::size_t trailer = 18 + 2;
    for (const std::string* s : {&sample.Information.Comment, &sample.Information.Name, &sample.Information.Author,
                                 &sample.Information.VersionMajor, &sample.Information.VersionMinor,
                                 &sample.Information.VersionRelease, &sample.Information.VersionBuild})
        trailer += 2 + s->size();
    const std::size_t endOfPages = good.size() - trailer;
    ASSERT_EQ(static_cast<unsigned char>(good[endOfPages - 1]), 0xFC);

    for (std::size_t length = 1; length < good.size(); ++length) {
        RecordingUi ui;
        TfrReport report;
        report.LoadFromBytes(std::string_view(good).substr(0, length), TemplateOrigin::File);
        if (length == endOfPages) {
            // The pages are whole; without a trailer the information is reset.
            EXPECT_TRUE(ui.shown.empty());
            EXPECT_FALSE(report.LoadFailed);
            EXPECT_EQ(report.Pages.Count(), 2);
            EXPECT_EQ(report.Information, ReportInformation{});
            continue;
        }
        ASSERT_EQ(ui.shown.size(), 1u) << length;
        EXPECT_EQ(ui.shown[0].text, kUnsupported) << length;
        EXPECT_TRUE(report.LoadFailed) << length;
        ASSERT_EQ(report.Pages.Count(), 1) << length;
        EXPECT_EQ(report.Pages.Items(0).ObjectCount(), 0) << length;
    }
}

TEST_F(DamagedTemplates, RandomByteChangesEitherLoadOrReportTheirFailure)
{
    std::mt19937 random(20261210);
    std::uniform_int_distribution<std::size_t> position(0, good.size() - 1);
    std::uniform_int_distribution<int> change(1, 255), count(1, 3);
    int loaded = 0, refused = 0;
    for (int round = 0; round < 4000; ++round) {
        std::string bytes = good;
        for (int i = count(random); i > 0; --i) bytes[position(random)] ^= static_cast<char>(change(random));
        RecordingUi ui;
        TfrReport report;
        report.LoadFromBytes(bytes, TemplateOrigin::File);
        if (ui.shown.empty()) {
            ++loaded;
            // Whatever was read can be written again (or is refused with a message).
            try {
                const std::string again = report.SaveToBytes();
                EXPECT_EQ(static_cast<unsigned char>(again[0]), 25);
            } catch (const TemplateSaveError&) {
            }
            continue;
        }
        ++refused;
        ASSERT_EQ(ui.shown.size(), 1u) << round;
        const std::string& text = ui.shown[0].text;
        EXPECT_TRUE(text == kUnsupported || text.rfind(kMissing, 0) == 0) << round << ": " << text;
        EXPECT_TRUE(report.LoadFailed);
        EXPECT_GE(report.Pages.Count(), 1);
    }
    // Both outcomes occur: the changes hit data as well as structure.
    EXPECT_GT(loaded, 100);
    EXPECT_GT(refused, 100);
}

} // namespace
} // namespace pemvora::report::test
