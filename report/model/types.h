#pragma once
// Plain types and code values shared by every object of a report: colours,
// string lists, kind codes, flag bits, frame bits, band kinds, restrictions.

#include "report/canvas/canvas.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pemvora::report {

// Colours (Color, kNoColor, kBlack, kWhite) are the drawing layer's; these are
// the system colours the objects use.
inline constexpr Color kBtnFace = 0xFF00000F;
inline constexpr Color kBtnShadow = 0xFF000010;
inline constexpr Color kBtnHighlight = 0xFF000014;

using StringList = std::vector<std::string>;

// Lines joined by CR LF (no line break after the last line).
std::string joinLines(const StringList& lines);
// Splits at CR LF, CR or LF; a line break at the very end adds no empty line,
// and an empty text gives no lines.
StringList splitLines(std::string_view text);

// Object kind codes: the first byte of every stored object record.
namespace kind {
inline constexpr int Memo = 0;
inline constexpr int Picture = 1;
inline constexpr int Band = 2;
inline constexpr int SubReport = 3;
inline constexpr int Line = 4;
inline constexpr int PlugIn = 10;
} // namespace kind

// Flag word. Bit 0x01 means "Stretched" for every kind; the others by kind.
namespace flag {
inline constexpr std::uint16_t Stretched = 0x0001;
// text objects
inline constexpr std::uint16_t WordWrap = 0x0002;
inline constexpr std::uint16_t WordBreak = 0x0004;
inline constexpr std::uint16_t AutoWidth = 0x0008;
inline constexpr std::uint16_t TextOnly = 0x0010;
inline constexpr std::uint16_t Suppress = 0x0020;
inline constexpr std::uint16_t HideZeros = 0x0040;
inline constexpr std::uint16_t Underlines = 0x0080;
inline constexpr std::uint16_t RTLReading = 0x0100;
// bands
inline constexpr std::uint16_t FormNewPage = 0x0002;
inline constexpr std::uint16_t PrintIfSubsetEmpty = 0x0004;
inline constexpr std::uint16_t Breaked = 0x0008;
inline constexpr std::uint16_t OnFirstPage = 0x0010;
inline constexpr std::uint16_t OnLastPage = 0x0020;
inline constexpr std::uint16_t RepeatHeader = 0x0040;
inline constexpr std::uint16_t PrintChildIfInvisible = 0x0080;
// pictures
inline constexpr std::uint16_t Center = 0x0002;
inline constexpr std::uint16_t KeepAspect = 0x0004;
// any kind: notified of every printed text object during a run
inline constexpr std::uint16_t NotifyView = 0x8000;
} // namespace flag

// FrameTyp bits.
namespace frame {
inline constexpr std::uint16_t Right = 0x01;
inline constexpr std::uint16_t Bottom = 0x02;
inline constexpr std::uint16_t Left = 0x04;
inline constexpr std::uint16_t Top = 0x08;
inline constexpr std::uint16_t All = 0x0F;
} // namespace frame

// FrameStyle values.
namespace penstyle {
inline constexpr int Solid = 0;
inline constexpr int Dash = 1;
inline constexpr int Dot = 2;
inline constexpr int DashDot = 3;
inline constexpr int DashDotDot = 4;
inline constexpr int Double = 5;
} // namespace penstyle

// Designer restrictions (one checkbox each).
namespace restrict {
inline constexpr std::uint8_t DontEditMemo = 0x01;
inline constexpr std::uint8_t DontEditScript = 0x02;
inline constexpr std::uint8_t DontEditContents = 0x04;
inline constexpr std::uint8_t DontModify = 0x08;
inline constexpr std::uint8_t DontSize = 0x10;
inline constexpr std::uint8_t DontMove = 0x20;
inline constexpr std::uint8_t DontDelete = 0x40;
} // namespace restrict

// Alignment of an object within its band.
namespace bandalign {
inline constexpr int None = 0;
inline constexpr int Left = 1;
inline constexpr int Right = 2;
inline constexpr int Center = 3;
inline constexpr int Width = 4;
inline constexpr int Bottom = 5;
inline constexpr int Top = 6;
inline constexpr int Rest = 7;
} // namespace bandalign

// Band kinds, kept in a band object's FrameTyp word.
namespace bandkind {
inline constexpr int ReportTitle = 0;
inline constexpr int ReportSummary = 1;
inline constexpr int PageHeader = 2;
inline constexpr int PageFooter = 3;
inline constexpr int MasterHeader = 4;
inline constexpr int MasterData = 5;
inline constexpr int MasterFooter = 6;
inline constexpr int DetailHeader = 7;
inline constexpr int DetailData = 8;
inline constexpr int DetailFooter = 9;
inline constexpr int SubdetailHeader = 10;
inline constexpr int SubdetailData = 11;
inline constexpr int SubdetailFooter = 12;
inline constexpr int Overlay = 13;
inline constexpr int ColumnHeader = 14;
inline constexpr int ColumnFooter = 15;
inline constexpr int GroupHeader = 16;
inline constexpr int GroupFooter = 17;
inline constexpr int CrossHeader = 18;
inline constexpr int CrossData = 19;
inline constexpr int CrossFooter = 20;
inline constexpr int Child = 21;
inline constexpr int None = 22;
inline constexpr int Count = 23;

inline bool isCross(int k) { return k >= CrossHeader && k <= CrossFooter; }
inline bool isData(int k) { return k == MasterData || k == DetailData || k == SubdetailData; }
// The name the designer shows on a band of this kind; empty outside 0..22.
std::string_view displayName(int k);
} // namespace bandkind

} // namespace pemvora::report
