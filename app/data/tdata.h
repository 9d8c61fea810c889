#pragma once
// TData: the data module of the cheque application. It owns the connection to
// banck.mdb and the long-lived queries that every window shares, re-reads them
// at the moments the windows need, numbers new reference rows, and holds the
// checks that run before a reference row is posted.

#include "app/data/connection.h"
#include "app/data/dataset.h"

#include <optional>
#include <string>
#include <string_view>

namespace pemvora::data {

inline constexpr const char* kDatabaseFileName = "banck.mdb";
inline constexpr const char* kDatabasePassword = "quendr7251";

// Messages of the checks before posting (shown in a "提示" box by the windows).
namespace message {
inline constexpr const char* kBankNameRequired = "请输入银行名称和帐号!";
inline constexpr const char* kPurposeNameRequired = "请输入用途名称!";
inline constexpr const char* kPurposeNameDuplicate = "用途名称重复!";
inline constexpr const char* kPayeeNameRequired = "请输入单位名称!";
inline constexpr const char* kPayeeNameDuplicate = "单位名称重复,请重新输入!";
} // namespace message

class TData {
public:
    // Opens the connection and the queries in their order: ZPJE (which opens
    // the connection), ZPYT, SYDW, BANCK, zphm, users, yh, addw, dwh; addy stays
    // closed. A missing file, a wrong password or a locked file throws
    // DatabaseError with a message for the error box, and nothing after the
    // failing step is opened.
    explicit TData(std::string path = kDatabaseFileName,
                   int busyTimeoutMs = kDefaultBusyTimeoutMs);
    // Closes the same nine queries in the same order; unposted rows are dropped.
    ~TData();
    TData(const TData&) = delete;
    TData& operator=(const TData&) = delete;

    Connection ADO1;
    Dataset ZPJE;    // "SELECT * FROM  ZPJE": the cheque window's rows
    Dataset ZPYT;    // "SELECT * FROM YT": purposes
    Dataset SYDW;    // "SELECT * FROM  USE_DW": the user's own unit
    Dataset BANCK;   // "SELECT * FROM BANK": bank accounts
    Dataset zphm;    // "select zphm from zpje": cheque-number look-up
    Dataset addy;    // "select * from zpje": never opened
    Dataset users;   // "select * from admin": login list, operator window
    Dataset yh;      // "select * from admin": login check
    Dataset addw;    // "select * from skdw": payee look-ups of the cheque window
    Dataset dwh;     // "select * from skdw": payee numbering and duplicate check

    // ---- Re-reads ----
    void rereadPurposes();                // ZPYT with "select * from yt"
    void rereadBanks();                   // BANCK with "select * from bank "
    void rereadPayeesForNewRow();         // dwh with "select * from skdw "
    void rereadPayeesForPost();           // dwh with "select * from skdw"
    // Reads zphm again and looks the number up in it.
    bool chequeNumberStored(std::string_view number);
    // Re-runs yh for the operators whose name and password equal the given
    // texts (compared as bound values); true when there is one.
    bool login(const std::string& userName, const std::string& password);

    // ---- Numbering of new reference rows ----
    // Each id is taken after re-reading the query; when a stored row already
    // carries it (possible after deletions), the next free id above is used.
    int newBankId();      // rows of BANCK, plus 1
    int newPurposeId();   // rows of ZPYT, plus 1
    // dw_dh of the last row of dwh (table order), plus 1. With no payees, or a
    // last row without an id, the Null raises ConversionError.
    int newPayeeId();
    // Append a new row to a window's own cursor over bank / yt / skdw with its
    // id written (the row counts as unmodified). If numbering fails, no row is
    // started and the error propagates.
    void startBankRow(Dataset& cursor);
    void startPurposeRow(Dataset& cursor);
    void startPayeeRow(Dataset& cursor);

    // ---- Checks before posting a reference row, in order ----
    // Each returns the message to show, or nothing when the row may be posted.
    // The bank check looks at the bank-name box of the bank window.
    std::optional<std::string> checkBankBeforePost(std::string_view bankNameText) const;
    // Re-reads ZPYT; an edited row whose name is unchanged is its own duplicate.
    std::optional<std::string> checkPurposeBeforePost(const Value& ytmc);
    // Re-reads dwh; the same rule for payee names.
    std::optional<std::string> checkPayeeBeforePost(const Value& skdw);

    const std::string& path() const { return path_; }

private:
    std::string path_;
};

} // namespace pemvora::data
