#pragma once
// Helpers of the template file tests: a byte builder for hand-made streams of
// every version, and UI services that record messages and answer the password.

#include "platform/ui/uiservices.h"
#include "report/printer/printer_backend.h"
#include "report/printer/printing_context.h"
#include "report/model/engine_context.h"
#include "report/model/report.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pemvora::report::test {

struct Bytes {
    std::string s;
    Bytes& u8(int v) { s.push_back(static_cast<char>(v)); return *this; }
    Bytes& u16(int v) { return u8(v & 0xFF).u8((v >> 8) & 0xFF); }
    Bytes& i32(std::int64_t v)
    {
        for (int i = 0; i < 4; ++i) u8(static_cast<int>((v >> (8 * i)) & 0xFF));
        return *this;
    }
    Bytes& f64(double v)
    {
        std::uint64_t bits;
        static_assert(sizeof bits == sizeof v);
        __builtin_memcpy(&bits, &v, sizeof v);
        for (int i = 0; i < 8; ++i) u8(static_cast<int>((bits >> (8 * i)) & 0xFF));
        return *this;
    }
    Bytes& raw(std::string_view b) { s.append(b); return *this; }
    // Zero-terminated (versions before 23).
    Bytes& cstr(std::string_view t) { return raw(t).u8(0); }
    // u16 length, bytes, one byte 0 (version 23 and later).
    Bytes& str(std::string_view t) { return u16(static_cast<int>(t.size())).raw(t).u8(0); }
    // A list in the current encoding.
    Bytes& list(const std::vector<std::string>& lines)
    {
        u16(static_cast<int>(lines.size()));
        if (lines.empty()) return u8(0);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            u16(static_cast<int>(lines[i].size())).raw(lines[i]);
            u8(i + 1 < lines.size() ? 13 : 0);
        }
        return *this;
    }
    // An end-position placeholder and its filling.
    std::size_t reserve() { std::size_t at = s.size(); i32(0); return at; }
    void patch(std::size_t at)
    {
        const auto v = static_cast<std::uint32_t>(s.size());
        for (int i = 0; i < 4; ++i) s[at + std::size_t(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
    }
    std::size_t size() const { return s.size(); }
};

class RecordingUi : public ui::UiServices {
public:
    struct Shown {
        std::string text, caption;
        ui::Icon icon;
    };
    std::vector<Shown> shown;
    std::optional<std::string> passwordAnswer;
    int passwordAsked = 0;

    RecordingUi() { ui::installServices(this); }
    ~RecordingUi() override { ui::installServices(nullptr); }

    ui::Answer message(const std::string& text, const std::string& caption, ui::Icon icon, ui::Buttons) override
    {
        shown.push_back({text, caption, icon});
        return ui::Answer::Ok;
    }
    void error(const std::string& text) override { shown.push_back({text, "", ui::Icon::Error}); }
    std::optional<std::string> password(const std::string&, const std::string&) override
    {
        ++passwordAsked;
        return passwordAnswer;
    }
};

// A clean engine on the virtual printer.
inline void resetAll()
{
    resetEngine();
    resetPrinting(std::make_unique<VirtualPrinterBackend>());
}

// The trailer of a report with empty information and no password.
inline void plainTrailer(Bytes& b)
{
    for (int i = 0; i < 7; ++i) b.u16(0);
    b.u16(0).u8(88).u8(0).f64(40000.5).f64(40001.25);
}

} // namespace pemvora::report::test
