#include "app/data/tdata.h"

#include <fmt/format.h>

#include <set>

namespace pemvora::data {

namespace {

bool isEmptyText(const Value& v)
{
    return v.isEmptyOrNull() || v.toText().empty();
}

// The candidate, or the next id above it that no row of `q` carries. Without
// this, a count-based id after a deletion would repeat a stored id, and cheques
// would show the older row for both. Leaves `q` on its first row.
int firstFreeId(Dataset& q, const char* column, int candidate)
{
    std::set<std::int64_t> used;
    const int c = q.fieldByName(column);
    for (q.first(); !q.eof(); q.next()) {
        const Value v = q.value(c);
        if (v.isNumber()) used.insert(v.toInteger());
    }
    q.first();
    while (used.count(candidate)) ++candidate;
    return candidate;
}

} // namespace

TData::TData(std::string path, int busyTimeoutMs)
    : ZPJE(ADO1, "ZPJE"),
      ZPYT(ADO1, "ZPYT"),
      SYDW(ADO1, "SYDW"),
      BANCK(ADO1, "BANCK"),
      zphm(ADO1, "zphm"),
      addy(ADO1, "addy"),
      users(ADO1, "users"),
      yh(ADO1, "yh"),
      addw(ADO1, "addw"),
      dwh(ADO1, "dwh"),
      path_(std::move(path))
{
    ZPJE.setSql({"SELECT * FROM  ZPJE"});
    ZPYT.setSql({"SELECT * FROM YT"});
    SYDW.setSql({"SELECT * FROM  USE_DW"});
    BANCK.setSql({"SELECT * FROM BANK"});
    zphm.setSql({"select zphm from zpje"});
    addy.setSql({"select * from zpje"});
    users.setSql({"select * from admin"});
    yh.setSql({"select * from admin"});
    addw.setSql({"select * from skdw"});
    dwh.setSql({"select * from skdw"});

    // Opening the first query opens the connection.
    ADO1.open(path_, kDatabasePassword, Connection::Mode::Existing, busyTimeoutMs);
    try {
        for (Dataset* q : {&ZPJE, &ZPYT, &SYDW, &BANCK, &zphm, &users, &yh, &addw, &dwh}) q->open();
    } catch (const DatabaseError& e) {
        // Say which file lacks the table or column.
        throw DatabaseError(e.kind(), fmt::format("{} (database file '{}')", e.what(), path_));
    }
}

TData::~TData()
{
    for (Dataset* q : {&ZPJE, &ZPYT, &SYDW, &BANCK, &zphm, &users, &yh, &addw, &dwh}) q->close();
    ADO1.close();
}

void TData::rereadPurposes() { ZPYT.rerun({"select * from yt"}); }
void TData::rereadBanks() { BANCK.rerun({"select * from bank "}); }
void TData::rereadPayeesForNewRow() { dwh.rerun({"select * from skdw "}); }
void TData::rereadPayeesForPost() { dwh.rerun({"select * from skdw"}); }

bool TData::chequeNumberStored(std::string_view number)
{
    zphm.close();
    zphm.open();
    return zphm.locate("zphm", Value(number));
}

bool TData::login(const std::string& userName, const std::string& password)
{
    yh.rerun({"select * from admin", "where user_name = ? and password = ?"},
             {Value(userName), Value(password)});
    return yh.recordCount() >= 1;
}

int TData::newBankId()
{
    rereadBanks();
    return firstFreeId(BANCK, "bank_dh", BANCK.recordCount() + 1);
}

int TData::newPurposeId()
{
    rereadPurposes();
    return firstFreeId(ZPYT, "ytdh", ZPYT.recordCount() + 1);
}

int TData::newPayeeId()
{
    rereadPayeesForNewRow();
    dwh.last();
    return firstFreeId(dwh, "dw_dh", dwh.integer("dw_dh") + 1);
}

void TData::startBankRow(Dataset& cursor)
{
    const int id = newBankId();
    cursor.append({{"bank_dh", Value(id)}});
}

void TData::startPurposeRow(Dataset& cursor)
{
    const int id = newPurposeId();
    cursor.append({{"ytdh", Value(id)}});
}

void TData::startPayeeRow(Dataset& cursor)
{
    const int id = newPayeeId();
    cursor.append({{"dw_dh", Value(id)}});
}

std::optional<std::string> TData::checkBankBeforePost(std::string_view bankNameText) const
{
    if (bankNameText.empty()) return message::kBankNameRequired;
    return std::nullopt;
}

std::optional<std::string> TData::checkPurposeBeforePost(const Value& ytmc)
{
    if (isEmptyText(ytmc)) return message::kPurposeNameRequired;
    rereadPurposes();
    if (ZPYT.locate("ytmc", ytmc)) return message::kPurposeNameDuplicate;
    return std::nullopt;
}

std::optional<std::string> TData::checkPayeeBeforePost(const Value& skdw)
{
    if (isEmptyText(skdw)) return message::kPayeeNameRequired;
    rereadPayeesForPost();
    if (dwh.locate("skdw", skdw)) return message::kPayeeNameDuplicate;
    return std::nullopt;
}

} // namespace pemvora::data
