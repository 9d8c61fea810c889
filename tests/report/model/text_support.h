#pragma once
// What the text object's tests share: a clean engine with one report and the
// evaluator bound to it, GBK from UTF-8, and reading back a printed record.

#include "platform/text/gbk.h"
#include "report/canvas/canvas.h"
#include "report/model/binary_stream.h"
#include "report/model/engine_context.h"
#include "report/model/memo.h"
#include "report/model/report.h"
#include "report/model/template_codec.h"
#include "report/script/names.h"

#include "tests/report/model/fixture.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace pemvora::report::modeltest {

inline std::string G(const std::string& utf8) { return text::utf8ToGbk(utf8); }

class TextFixture : public ModelFixture {
protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        engine().CurrentReport = &report;
        evaluatorFor(report);
    }
    void TearDown() override
    {
        engine().Evaluator = nullptr;
        ModelFixture::TearDown();
    }

    void set(const std::string& name, const Value& v) { engine().Variables.SetVariable(name, v); }

    // The width of GBK text in a font of `name`, `pixelHeight` pixels high (10
    // points at 96 pixels per inch: 13), measured on the scratch canvas with
    // `spacing` pixels after every character.
    static int widthOf(const std::string& text, const std::string& name, int pixelHeight = 13, int spacing = 0)
    {
        Canvas& c = scratchCanvas();
        Font f;
        f.name = name;
        f.height = pixelHeight;
        c.setFont(f);
        c.setCharSpacing(spacing);
        const int w = c.textWidth(text);
        c.setCharSpacing(0);
        return w;
    }

    // The text object a prepared page gets from `bytes` (one printed record).
    static std::unique_ptr<TfrMemoView> readPrinted(const std::string& bytes)
    {
        BinaryReader in(bytes);
        EXPECT_EQ(in.u8(), kind::Memo);
        auto memo = std::make_unique<TfrMemoView>();
        memo->PreparedMode = true;
        TemplateReader reader(in, kTemplateVersion);
        LoadObjectRecord(reader, *memo);
        EXPECT_TRUE(in.atEnd());
        return memo;
    }

    static std::string print(TfrMemoView& memo)
    {
        BinaryWriter out;
        memo.PreparedMode = true;
        memo.Print(out);
        memo.PreparedMode = false;
        return out.take();
    }

    TfrReport report;
};

} // namespace pemvora::report::modeltest
