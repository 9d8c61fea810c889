#pragma once
// Edit masks: a text laid into the positions of an input mask, the way a
// masked edit box shows it.
//
// A mask is up to three sections "mask;literals;blank". In the mask, L l A a
// C c 0 9 # take the next character of the text (letter, letter or digit, any
// character, digit, digit or sign; upper case letters mark required
// positions, which only matters to an edit box); ">" turns the following
// characters to upper case, "<" to lower case, "<>" stops that; "\" makes the
// next mask character a literal; ":" and "/" are the locale's time and date
// separators; "_" is a space; "!" (blanks to the front) is accepted and has
// no effect on a formatted text; every other character is a literal. The
// second section "0" means the text holds no literals (the default), "1" that
// it holds them where the mask has them. The third section is the blank
// character put where the text has run out (default "_").
//
// GBK text: a two-byte character fills one position.

#include <string>
#include <string_view>

namespace pemvora {

struct Locale;

std::string formatMaskText(std::string_view mask, std::string_view text, const Locale& locale);

} // namespace pemvora
