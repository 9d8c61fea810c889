#include "app/data/chequelist.h"

#include <fmt/format.h>

namespace pemvora::data {

namespace {

// The text of `nameColumn` in the row of `lookup` whose `idColumn` equals the
// id; empty when the id is NULL or not found.
std::string lookUpName(Dataset& lookup, const char* idColumn, const Value& id, const char* nameColumn)
{
    if (id.isEmptyOrNull()) return {};
    if (!lookup.locate(idColumn, Value(id.toInt32()))) return {};
    return lookup.text(nameColumn);
}

std::string dateText(const Value& v)
{
    if (v.isEmptyOrNull()) return {};
    if (!v.isDateTime()) return v.toText();
    const DateParts d = decodeDate(v.dateTime());
    return fmt::format("{:04}-{:02}-{:02}", d.year, d.month, d.day);
}

std::string amountText(const Value& v)
{
    if (v.isEmptyOrNull()) return {};
    return fmt::format("{:.2f}", v.toNumber());
}

bool isCash(const Value& lb)
{
    if (lb.isEmptyOrNull()) return false;
    try {
        return lb.toNumber() == 1;
    } catch (const ConversionError&) {
        return false;
    }
}

} // namespace

std::vector<ChequeLine> listCheques(TData& data)
{
    Dataset& cheques = data.ZPJE;
    const Bookmark where = cheques.bookmark();
    std::vector<ChequeLine> lines;
    for (cheques.first(); !cheques.eof(); cheques.next()) {
        ChequeLine line;
        line.number = cheques.text("zphm");
        line.date = dateText(cheques.value("date"));
        line.amount = amountText(cheques.value("ZPJE"));
        line.type = isCash(cheques.value("lb")) ? "现金" : "转帐";
        line.bank = lookUpName(data.BANCK, "bank_dh", cheques.value("yh_h"), "bank_name");
        line.purpose = lookUpName(data.ZPYT, "ytdh", cheques.value("yt_h"), "ytmc");
        line.payee = lookUpName(data.addw, "dw_dh", cheques.value("dw_h"), "skdw");
        lines.push_back(std::move(line));
    }
    if (where.valid()) cheques.gotoBookmark(where);
    return lines;
}

} // namespace pemvora::data
