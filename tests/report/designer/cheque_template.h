#pragma once
// A cheque-like template built with our own model and writer: one page of
// 175 x 80 mm with the text objects a cheque fills in ([dskdw] the payee,
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
    {"Payee", "[dskdw]", 72, 72, 288, 22},
    {"Amount", "[dx]", 108, 104, 324, 22},
    {"Fen", "[mm]", 468, 104, 144, 22},
    {"Year", "[year]", 216, 40, 54, 18},
    {"Month", "[month]", 288, 40, 36, 18},
    {"Day", "[day]", 342, 40, 36, 18},
    {"Bank", "[dkhh]", 420, 40, 180, 18},
    {"Account", "[dyhzh]", 420, 72, 180, 18},
    {"Purpose", "[dskyt]", 72, 144, 216, 22},
};

inline void buildChequeTemplate(TfrReport& report)
{
    report.Pages.Clear();
    report.Pages.Add({kCustomPaper, 1750, 800, 0, kDefaultBin});
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
