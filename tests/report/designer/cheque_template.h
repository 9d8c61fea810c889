#pragma once
// A cheque-like template built with our own model and writer: one page of
// 225 x 80 mm with the text objects a cheque fills in ([dskdw] the payee,
// [dx] the capital amount, the date, the accounts, the amount in fen).

#include "report/model/memo.h"
#include "report/model/report.h"

#include <string>

namespace pemvora::report::test {

struct ChequeField {
    const char* name;
    const char* text;
    int left, top, width, height;
};

// Where the fields stand, in design pixels.
inline constexpr ChequeField kChequeFields[] = {
    {"Payee", "[dskdw]", 72, 72, 288, 24},
    {"Amount", "[dx]", 108, 104, 324, 24},
    {"Fen", "[mm]", 468, 104, 144, 24},
    {"Year", "[year]", 198, 36, 66, 24},
    {"Month", "[month]", 270, 36, 72, 24},
    {"Day", "[day]", 348, 36, 54, 24},
    {"Bank", "[dkhh]", 420, 36, 180, 24},
    {"Account", "[dyhzh]", 420, 72, 180, 24},
    {"Purpose", "[dskyt]", 72, 144, 216, 24},
};

inline void buildChequeTemplate(TfrReport& report)
{
    report.Pages.Clear();
    report.Pages.Add({kCustomPaper, 2250, 800, 0, kDefaultBin});
    TfrPage& page = report.Pages.Items(0);
    for (const ChequeField& f : kChequeFields) {
        auto& m = page.Add<TfrMemoView>();
        m.Name = f.name;
        m.Memo = {f.text};
        m.PlaceAt(f.left, f.top, f.width, f.height);
        m.Font.Name = "\xCB\xCE\xCC\xE5";   // the usual Song face of the forms
        m.Font.Size = 12;
    }
}

} // namespace pemvora::report::test
