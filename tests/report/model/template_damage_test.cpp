// Damaged templates: every truncation of a good one and thousands of random
// byte changes load without a crash or a hang, and either succeed or say why.
// Each damaged input lies in a buffer of exactly its own size, so a read past
// its end cannot land on the bytes that followed in the good template.

#include "tests/report/model/template_sample.h"
#include "tests/report/model/template_support.h"
#include "tests/support/exact_buffer.h"

#include "report/model/binary_stream.h"
#include "report/model/template_codec.h"

#include <gtest/gtest.h>

#include <functional>
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
        const testsupport::ExactBuffer truncated(std::string_view(good).substr(0, length));
        report.LoadFromBytes(truncated.view(), TemplateOrigin::File);
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
        const testsupport::ExactBuffer damaged(bytes);
        report.LoadFromBytes(damaged.view(), TemplateOrigin::File);
        if (ui.shown.empty()) {
            ++loaded;
            // Whatever was read is written again, and what is written reads
            // back into the same report: saved once more, the same bytes
            // (apart from the time of the save at the end).
            std::string saved, again;
            ASSERT_NO_THROW(saved = report.SaveToBytes()) << round;
            TfrReport reread;
            reread.LoadFromBytes(saved, TemplateOrigin::Memory);
            ASSERT_TRUE(ui.shown.empty()) << round << ": " << ui.shown[0].text;
            ASSERT_NO_THROW(again = reread.SaveToBytes()) << round;
            ASSERT_EQ(again.size(), saved.size()) << round;
            EXPECT_EQ(again.substr(0, again.size() - 8), saved.substr(0, saved.size() - 8)) << round;
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

// Every read that would pass the end of the bytes raises StreamError and leaves
// the position where it was, in buffers that end exactly where their bytes do.
TEST(BinaryReaderBounds, ReadsPastTheEndRaiseAndMoveNothing)
{
    struct Case {
        const char* read;
        std::size_t size;   // bytes in the buffer, all one short of the read
        std::function<void(BinaryReader&)> call;
    };
    const Case cases[] = {
        {"u8", 0, [](BinaryReader& r) { r.u8(); }},
        {"u16", 1, [](BinaryReader& r) { r.u16(); }},
        {"i16", 1, [](BinaryReader& r) { r.i16(); }},
        {"u32", 3, [](BinaryReader& r) { r.u32(); }},
        {"i32", 3, [](BinaryReader& r) { r.i32(); }},
        {"f64", 7, [](BinaryReader& r) { r.f64(); }},
        {"bool16", 1, [](BinaryReader& r) { r.bool16(); }},
        {"bytes", 4, [](BinaryReader& r) { r.bytes(5); }},
        {"bytes of a 16-bit length", 4, [](BinaryReader& r) { r.bytes(0xFFFF); }},
        {"seek", 4, [](BinaryReader& r) { r.seek(r.position() + 5); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.read);
        for (std::size_t start : {std::size_t(0), c.size}) {
            const std::string bytes(c.size + start, '\x5A');
            const testsupport::ExactBuffer buffer(bytes);
            BinaryReader r(buffer.view());
            r.seek(start);
            EXPECT_THROW(c.call(r), StreamError) << "from " << start;
            EXPECT_EQ(r.position(), start);
            EXPECT_EQ(r.remaining(), c.size);
        }
    }
    // The last byte itself is still there to be read.
    const testsupport::ExactBuffer buffer("ab");
    BinaryReader r(buffer.view());
    EXPECT_EQ(r.bytes(2), "ab");
    EXPECT_TRUE(r.atEnd());
}

} // namespace
} // namespace pemvora::report::test
