#pragma once
// Binds an amount grid control to a money column of a dataset: the control's
// field link, implemented by listening to the dataset.

#include "app/data/dataset.h"
#include "controls/amountgrid/fieldlink.h"

#include <string>

namespace pemvora::app {

class DatasetAmountLink : public amountgrid::AmountFieldLink, private data::DatasetListener {
public:
    DatasetAmountLink(data::Dataset& dataset, std::string field);
    ~DatasetAmountLink() override;

    bool active() const override;
    amountgrid::Amount fieldValue() const override;   // 0 for a column without a value
    bool datasetEditing() const override;
    bool fieldCanModify() const override;
    void startEdit() override;
    void writeField(const amountgrid::Amount& value) override;

private:
    void stateChanged(data::Dataset&) override { editingStateChanged(); }
    void recordChanged(data::Dataset&) override { AmountFieldLink::recordChanged(); }
    void fieldChanged(data::Dataset&, int column) override;
    void updateRecord(data::Dataset&) override { updateData(); }
    void datasetDestroyed(data::Dataset&) override;

    data::Dataset* dataset_;
    std::string field_;
    bool writing_ = false;
};

} // namespace pemvora::app
