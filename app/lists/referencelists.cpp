#include "app/lists/referencelists.h"

#include "app/data/databaseerror.h"

namespace pemvora::app {

using data::Dataset;

ReferenceLists::ReferenceLists(data::TData& d, ui::UiServices& ui)
    : data(d),
      AD_bank(d.ADO1, "AD_bank"),
      ad_yt(d.ADO1, "ad_yt"),
      adskdw(d.ADO1, "adskdw"),
      banks(AD_bank, ui,
            {[&d](Dataset& c) { d.startBankRow(c); },
             // The bank-name box edits bank_name directly, so its text is the column's.
             [&d](Dataset& c) { return d.checkBankBeforePost(c.text("bank_name")); }}),
      purposes(ad_yt, ui,
               {[&d](Dataset& c) { d.startPurposeRow(c); },
                [&d](Dataset& c) { return d.checkPurposeBeforePost(c.value("ytmc")); }}),
      payees(adskdw, ui,
             {[&d](Dataset& c) { d.startPayeeRow(c); },
              [&d](Dataset& c) { return d.checkPayeeBeforePost(c.value("skdw")); }}),
      ui_(ui)
{
    AD_bank.setSql({"select * from bank"});
    ad_yt.setSql({"select * from yt"});
    adskdw.setSql({"select * from skdw"});
    AD_bank.open();
    AD_bank.last();
    ad_yt.open();
    ad_yt.last();
    adskdw.open();
}

bool ReferenceLists::saveUserUnit()
{
    try {
        data.SYDW.edit();
        data.SYDW.post();
        return true;
    } catch (const data::DatabaseError& e) {
        ui_.error(e.what());
        return false;
    }
}

PayeePicker::PayeePicker(ReferenceLists& lists, ui::UiServices& ui, Choose choose)
    : lists_(lists), ui_(ui), choose_(std::move(choose))
{
    opened();
}

void PayeePicker::opened()
{
    try {
        lists_.adskdw.open();
    } catch (const data::DatabaseError& e) {
        ui_.error(e.what());
    }
}

bool PayeePicker::confirm()
{
    // A payee row still pending in the payee window is settled first, with its checks.
    if (!lists_.payees.settle()) return false;
    choose_(lists_.adskdw.isOpen() ? lists_.adskdw.text("skdw") : std::string());
    return true;
}

bool PayeePicker::shortCodeLeft(const std::string& code)
{
    if (!lists_.payees.settle()) return false;
    bool found = false;
    try {
        found = lists_.adskdw.locate("dwjm", Value(code));
    } catch (const data::DatabaseError& e) {
        ui_.error(e.what());
        return false;
    }
    if (!found) {
        ui_.message(listtext::kAddNewPayee, listtext::kMessageCaption, ui::Icon::Information, ui::Buttons::Ok);
        return false;
    }
    ui_.message(listtext::kIsThisThePayee, listtext::kMessageCaption, ui::Icon::Information, ui::Buttons::Ok);
    choose_(lists_.adskdw.text("skdw"));
    return true;
}

} // namespace pemvora::app
