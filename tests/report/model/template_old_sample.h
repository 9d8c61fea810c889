#pragma once
// A hand-built template of version 21 or 22, of the older layouts a writer of
// this system never produces.

#include "tests/report/model/template_support.h"

#include "report/model/memo.h"
#include "report/model/objects.h"

#include <string>
#include <string_view>

namespace pemvora::report::test {

// ---- version 21/22 pieces (zero-terminated strings, no names) ----

inline void oldCommon(Bytes& b, int flags, const char* memoText)
{
    b.i32(5).i32(6).i32(70).i32(18);             // Left, Top, Width, Height
    b.u16(flags).u16(frame::All).i32(2).i32(0x0000FF).u16(1).i32(0xFFFFFF);
    b.i32(0x0200002E).cstr("");                  // DisplayFormat, DisplayFormatText
    b.raw(memoText).u8(0);                        // Memo, older list
}

inline void oldMemoEntry(Bytes& b, int flags, const char* memoText)
{
    b.u8(kind::Memo).u8(0);
    oldCommon(b, flags, memoText);
    b.cstr("Arial").i32(9).u16(fontstyle::Bold).i32(0x123456).i32(textalign::Right).u16(134);
    b.u16(fontstyle::Italic).i32(0x10).i32(0x20).cstr("a > 1");
}

// A version-21 or -22 template: one page of the older layout (no marker,
// 6 skipped bytes, no bin), two text objects and a band, a dictionary of
// the oldest layout, the trailer.
inline std::string oldTemplate(int version)
{
    Bytes b;
    if (version == 22) b.u8(22);
    b.u16(0).u16(0xFFFF).cstr("");                // PrintToDefault, TwoPass, printer
    b.u8(0xFF).i32(9).i32(2100).i32(2970).i32(10).i32(20).i32(30).i32(40).u8(1);
    b.raw("\x01\x02\x03\x04\x05\x06");
    b.u16(0xFFFF).u16(0).i32(2).i32(15);          // PrintToPrevPage, margins in use, Columns, ColumnGap
    oldMemoEntry(b, flag::Stretched, "[dx]\r\xB4\xF3\xD0\xB4");
    oldMemoEntry(b, 0, "");
    b.u8(kind::Band).u8(0);
    oldCommon(b, flag::OnFirstPage, "");

    // The oldest dictionary: an entry table, then the variable lines.
    b.u8(0xFE).i32(3);
    auto entry = [&](int k, int code, std::string_view s1, std::string_view s2, std::string_view s3) {
        b.u8(k).i32(code);
        for (std::string_view s : {s1, s2, s3}) b.u8(static_cast<int>(s.size())).raw(s);
    };
    entry(2, 1, "", "1+2", "Sum");
    entry(1, 0, "Table1", "Amount", "Money");
    entry(2, 2, "", "", "Today");
    b.raw("Cheque\r Sum\r Money\r Today").u8(0);
    b.u8(0xFC);
    plainTrailer(b);
    return b.s;
}

} // namespace pemvora::report::test
