#pragma once
// A field link over one amount held in memory, standing in for a dataset:
// it can be opened and closed, edited, posted and cancelled, moved to another
// record, and told to refuse writes.

#include "controls/amountgrid/fieldlink.h"

#include <stdexcept>

namespace pemvora::amountgrid::testing {

class MemoryFieldLink : public AmountFieldLink {
public:
    Amount stored;
    bool open = true;
    bool editingState = false;
    bool writable = true;
    bool refuseWrites = false;
    int edits = 0;

    bool active() const override { return open; }
    Amount fieldValue() const override { return stored; }
    bool datasetEditing() const override { return open && editingState; }
    bool fieldCanModify() const override { return writable; }
    void startEdit() override {
        ++edits;
        editingState = true;
        editingStateChanged();
    }
    void writeField(const Amount& value) override {
        if (!editingState) throw std::runtime_error("Dataset not in edit or insert mode");
        if (refuseWrites) throw std::runtime_error("value out of range");
        stored = value;
    }

    // The dataset's own doings.
    void moveToRecord(const Amount& value) {
        stored = value;
        recordChanged();
    }
    void post() {
        updateData();
        editingState = false;
        editingStateChanged();
    }
    void cancel() {
        editingState = false;
        editingStateChanged();
        recordChanged();
    }
};

}  // namespace pemvora::amountgrid::testing
