// Damaged prepared-report files: every truncation and thousands of random
// byte changes load without a crash or a hang, and either load whole or are
// refused with the reason, leaving the pages that were there.

#include "tests/report/engine/prepared_fixture.h"
#include "tests/report/model/template_support.h"

#include "report/canvas/recording_canvas.h"

#include <QBuffer>
#include <QImage>

#include <gtest/gtest.h>

#include <random>

namespace pemvora::report::enginetest {
namespace {

using test::Bytes;

constexpr std::string_view kDamaged = "The prepared report file is damaged: ";

class DamagedPreparedFile : public PreparedFixture {
protected:
    void SetUp() override
    {
        PreparedFixture::SetUp();
        TfrReport source;
        TfrEMFPages& sample = PreparedPages(source);
        sample.Add(*templatePage({kA4, 2100, 2970, 0, kDefaultBin}, {36, 40, 20, 30}));
        sample.AppendObject(0, *printedText("Memo1", 30, 40, 200, 18, {"壹仟贰佰元整", "line\x01"}));
        TfrLineView line;
        line.Name = "Line1";
        line.PlaceAt(30, 60, 200, 0);
        sample.AppendObject(0, line);
        sample.Add(*templatePage({11, 1480, 2100, 1, kDefaultBin}, {}, true));
        sample.AppendObject(1, *printedText("URL1", 5, 5, 80, 16, {"@1"}));
        TfrPictureView picture;
        picture.PlaceAt(5, 30, 20, 20);
        QImage image(3, 2, QImage::Format_RGB32);
        image.fill(Qt::green);
        QByteArray bmp;
        QBuffer buffer(&bmp);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "BMP");
        picture.Picture = {GraphicKind::Bitmap, bmp.toStdString()};
        sample.AppendObject(1, picture);
        good = sample.SaveToBytes();

        // What the list holds before every load: one custom page.
        pages.Add(*templatePage({kCustomPaper, 1000, 1000, 0, kDefaultBin}));
    }

    // Loads `bytes`; false and the reason when refused, after checking that
    // the pages are untouched.
    bool load(std::string_view bytes, std::string* reason = nullptr)
    {
        try {
            pages.LoadFromBytes(bytes);
        } catch (const PreparedReportError& e) {
            const std::string message = e.what();
            EXPECT_EQ(message.substr(0, kDamaged.size()), kDamaged) << message;
            EXPECT_EQ(pages.Count(), 1);
            EXPECT_EQ(pages.Page(0).Paper.size, kCustomPaper);
            if (reason) *reason = message.substr(kDamaged.size());
            return false;
        }
        return true;
    }

    std::string good;
};

TEST_F(DamagedPreparedFile, EveryTruncationIsRefused)
{
    ASSERT_TRUE(load(good));
    pages.Clear();
    pages.Add(*templatePage({kCustomPaper, 1000, 1000, 0, kDefaultBin}));
    for (std::size_t length = 0; length < good.size(); ++length)
        EXPECT_FALSE(load(std::string_view(good).substr(0, length))) << length;
}

TEST_F(DamagedPreparedFile, RandomByteChangesEitherLoadWholeOrAreRefused)
{
    std::mt19937 random(20261211);
    std::uniform_int_distribution<std::size_t> position(0, good.size() - 1);
    std::uniform_int_distribution<int> change(1, 255), count(1, 3);
    int loaded = 0, refused = 0;
    for (int round = 0; round < 4000; ++round) {
        std::string bytes = good;
        for (int i = count(random); i > 0; --i) bytes[position(random)] ^= static_cast<char>(change(random));
        if (load(bytes)) {
            ++loaded;
            // Whatever loaded can be shown: every page draws.
            for (int i = 0; i < pages.Count(); ++i) {
                RecordingCanvas canvas;
                pages.Page(i).InUse = true;
                EXPECT_NO_THROW(pages.Draw(i, canvas, {0, 0, 400, 560})) << round;
                pages.ReleasePageObjects(i);
            }
            pages.Clear();
            pages.Add(*templatePage({kCustomPaper, 1000, 1000, 0, kDefaultBin}));
        } else {
            ++refused;
        }
    }
    EXPECT_GT(loaded, 100);
    EXPECT_GT(refused, 100);
}

TEST_F(DamagedPreparedFile, ImpossibleOffsetsAndCountsAreRefusedWithTheirReason)
{
    // Offsets in `good`: version 0, flag 1, the printer name 2..19, the count
    // 20..23, the first page's end offset 24..27.
    auto withI32 = [&](std::size_t at, std::int64_t value) {
        Bytes b;
        b.i32(value);
        std::string bytes = good;
        bytes.replace(at, 4, b.s);
        return bytes;
    };
    struct Case {
        const char* what;
        std::string bytes;
        const char* reason;
    };
    const std::vector<Case> cases{
        {"an end before the page's own fields", withI32(24, 30), "page 1 ends before its own contents"},
        {"an end pointing back at the start", withI32(24, 0), "page 1 ends before its own contents"},
        {"an end beyond the file", withI32(24, static_cast<std::int64_t>(good.size()) + 1),
         "page 1 ends beyond the end of the file"},
        {"a count of two thousand million pages", withI32(20, 0x7FFFFFFF), "it claims 2147483647 pages"},
        {"a negative count", withI32(20, -1), "it claims -1 pages"},
        {"a page stream of an unknown kind", [&] {
             std::string b = good;
             b[24 + 36 + 1] = 7;   // the first object's kind byte
             return b;
         }(), "page 1: unknown object kind 7"},
        {"no generator byte", good.substr(0, good.size() - 1), "it ends too early"},
        {"an empty file", std::string(), "the file is empty"},
    };
    for (const Case& c : cases) {
        std::string reason;
        EXPECT_FALSE(load(c.bytes, &reason)) << c.what;
        EXPECT_NE(reason.find(c.reason), std::string::npos) << c.what << ": " << reason;
    }
}

} // namespace
} // namespace pemvora::report::enginetest
