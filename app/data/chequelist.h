#pragma once
// The stored cheques as lines of text, read through the data module the way the
// cheque window shows a cheque: the ids of bank, purpose and payee are looked up
// in BANCK, ZPYT and addw.
//
// A cheque whose id column holds no value (NULL), or whose id is not found,
// shows an empty name for that reference; it is listed, never an error.

#include "app/data/tdata.h"

#include <string>
#include <vector>

namespace pemvora::data {

struct ChequeLine {
    std::string number;    // zphm
    std::string date;      // YYYY-MM-DD, empty without a date
    std::string amount;    // two decimals, empty without an amount
    std::string type;      // 现金 for lb = 1, else 转帐
    std::string bank;      // bank_name
    std::string purpose;   // ytmc
    std::string payee;     // skdw
};

// All rows of ZPJE in table order; ZPJE's cursor is put back where it was.
std::vector<ChequeLine> listCheques(TData& data);

} // namespace pemvora::data
