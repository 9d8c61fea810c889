#pragma once
// ChequeController: everything the cheque window does, without a screen.
//
// The window TForm1 is a thin view over it. The boxes that are not bound to a
// column (cheque type, bank, account, purpose, payee, print mode) and the
// captions that the program computes (capital amount, capital date, capital
// year/month/day, the hidden amount) live here; the bound boxes (date,
// amount, cheque number, amount grid) edit the current row of TData::ZPJE and
// this class follows the row through a dataset listener.
//
// Texts set by the program never count as typing: the view shows them with
// its change signals blocked and calls the *Typed handlers only for input.

#include "app/data/tdata.h"
#include "app/lists/listcontroller.h"
#include "platform/ui/uiservices.h"
#include "platform/value/datetime.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace pemvora::app {

namespace chequetext {
inline constexpr const char* kCash = "现金";
inline constexpr const char* kTransfer = "转帐";
inline constexpr const char* kMessageCaption = "提示";
inline constexpr const char* kTypeRequired = "请选择支票类型!";
inline constexpr const char* kPurposeRequired = "请选择支票用途!";
inline constexpr const char* kBankRequired = "请选择开户银行!";
inline constexpr const char* kAmountRequired = "请输入数字金额!";
inline constexpr const char* kPayeeRequired = "请输入收款单位!";
inline constexpr const char* kNumberRequired = "请输入支票号码!";
inline constexpr const char* kNumberDuplicate = "支票号码重复,请重新输入!";
} // namespace chequetext

class ChequeController : private data::DatasetListener {
public:
    // What the view shows of the controller; it re-reads the controller when told.
    class View {
    public:
        virtual ~View() = default;
        virtual void textsChanged() {}      // box texts and computed captions
        virtual void listsChanged() {}      // the item lists of cyh, czh, cyt
        virtual void enablingChanged() {}   // 增加, 保存 and the navigator
    };

    // The creation step: no data yet. The capital date shows `now()`.
    explicit ChequeController(ui::UiServices& ui, std::function<DateTime()> now = {});
    ~ChequeController() override;
    ChequeController(const ChequeController&) = delete;
    ChequeController& operator=(const ChequeController&) = delete;

    void setView(View* view) { view_ = view; }
    // The data module, once it exists; the controller follows its ZPJE query.
    void attachData(data::TData& data);
    data::TData* data() const { return data_; }

    // ---- The window's steps ----
    // Showing after login: fill the lists, go to the last cheque, show its references.
    void show();
    // The navigator: move ZPJE, then show the row's references.
    enum class Move { First, Prior, Next, Last };
    void navigate(Move move);
    // "增加": a new row dated now, the unbound boxes emptied, browsing disabled.
    void newCheque();
    // "保存": datasave; true when the cheque was stored (browsing enabled again).
    bool save();
    // Validates and posts the current cheque; false after a message or an error.
    bool datasave();
    // "打印": saves the cheque when its number is not stored yet. Printing
    // itself is not part of the program yet; nothing is shown afterwards.
    void print();
    // After the purpose window closed: the purpose list from its own cursor,
    // whose pending row is settled (with its checks) before the cursor moves.
    void refreshPurposes(ListController& purposes);

    // ---- Input to the unbound boxes (typing or picking from the list) ----
    void typeTyped(const std::string& text);
    void bankTyped(const std::string& text);
    void accountTyped(const std::string& text);
    void purposeTyped(const std::string& text);
    void payeeTyped(const std::string& text);
    // The payee picker's choice (set by the program, as typing would).
    void setPayee(const std::string& text);
    void setPrintMode(int index) { printMode_ = index; }

    // ---- Input to the bound boxes, as the bound controls write it ----
    void amountTyped(std::optional<double> value);   // nothing: the box was emptied
    void dateTyped(DateTime value);
    void chequeNumberTyped(const std::string& text);

    // ---- What the window shows ----
    const std::string& chequeType() const { return czplx_; }   // czplx
    const std::string& bank() const { return cyh_; }           // cyh
    const std::string& account() const { return czh_; }        // czh
    const std::string& purpose() const { return cyt_; }        // cyt
    const std::string& payee() const { return cdw_; }          // cdw
    int printMode() const { return printMode_; }               // cms: 0 普通, 1 特殊
    const std::string& capitalAmount() const { return cdx_; }  // cdx
    const std::string& capitalDate() const { return sj_; }     // sj
    const std::string& capitalYear() const { return year_; }   // Label11
    const std::string& capitalMonth() const { return month_; } // Label12
    const std::string& capitalDay() const { return day_; }     // Label13
    double hiddenAmount() const { return hiddenAmount_; }      // sncCurrencyEdit1.Value
    const std::vector<std::string>& bankItems() const { return bankItems_; }
    const std::vector<std::string>& accountItems() const { return accountItems_; }
    const std::vector<std::string>& purposeItems() const { return purposeItems_; }
    bool adding() const { return adding_; }
    bool newEnabled() const { return !adding_; }        // 增加
    bool navigatorEnabled() const { return !adding_; }  // DBN1
    // The bound boxes' contents, read from the current ZPJE row.
    double amount() const;
    std::string chequeNumber() const;
    // A column of the current ZPJE row (Null without data or row).
    Value field(const char* column) const;

private:
    // DatasetListener on ZPJE: the bound boxes changed.
    void recordChanged(data::Dataset&) override;
    void fieldChanged(data::Dataset&, int column) override;
    void datasetDestroyed(data::Dataset&) override;

    void showReferences();
    void amountChanged();
    void dateChanged();
    void linkBankToAccount();   // serves the bank box and the purpose box
    void setAdding(bool adding);
    bool refuse(const char* message);
    void editChequeRow();
    template <typename F> bool guarded(F&& step);
    void notifyTexts();

    ui::UiServices& ui_;
    std::function<DateTime()> now_;
    View* view_ = nullptr;
    data::TData* data_ = nullptr;

    std::string czplx_ = chequetext::kTransfer;
    std::string cyh_, czh_, cyt_, cdw_;
    int printMode_ = 0;
    std::string cdx_, sj_, year_, month_, day_;
    double hiddenAmount_ = 0;
    std::vector<std::string> bankItems_, accountItems_, purposeItems_;
    bool adding_ = false;
};

// Today's local date and time as a DateTime.
DateTime currentDateTime();

} // namespace pemvora::app
