#pragma once
// FieldLink: what a control bound to one column of a dataset holds. The control
// reads the column through it, asks it to put the dataset into edit mode when
// the user starts typing, marks it modified, and writes its value when the
// dataset asks for the record's data (before a post). The link tells the
// control when to reload (record or field changed), when its editing state
// changes (to turn read-only on or off) and when to write.

#include "app/data/dataset.h"

#include <functional>
#include <string>

namespace pemvora::data {

class FieldLink : private DatasetListener {
public:
    FieldLink() = default;
    FieldLink(const FieldLink&) = delete;
    FieldLink& operator=(const FieldLink&) = delete;
    ~FieldLink() override;

    void setDataset(Dataset* dataset);
    Dataset* dataset() const { return dataset_; }
    void setFieldName(std::string name);
    const std::string& fieldName() const { return fieldName_; }

    // The dataset is open and has the column.
    bool active() const;
    // The column's value in the current row; Null when the link is not active.
    Value fieldValue() const;
    // The dataset is in edit or insert mode.
    bool editing() const;
    // A control set read-only never starts editing.
    void setReadOnly(bool readOnly) { readOnly_ = readOnly; }
    bool readOnly() const { return readOnly_; }

    // Puts the dataset into edit mode when it is not yet; true when it is
    // editing afterwards. Never throws: a refusal is reported as false.
    bool edit();
    // The control holds input that is not yet in the row.
    void modified() { modified_ = true; }
    bool isModified() const { return modified_; }
    // Writes the control's value into the column (the dataset must be editing).
    void write(const Value& value);
    // Drops the control's unsaved input and reloads it from the column.
    void reset();

    // Told to the control:
    std::function<void()> onDataChange;      // reload the shown value
    std::function<void()> onEditingChange;   // editing() changed
    std::function<void()> onUpdateData;      // write the pending input now (call write)
    std::function<void()> onActiveChange;    // active() changed

private:
    void stateChanged(Dataset&) override;
    void recordChanged(Dataset&) override;
    void fieldChanged(Dataset&, int column) override;
    void updateRecord(Dataset&) override;
    void datasetDestroyed(Dataset&) override;
    void refreshFlags();
    static void call(const std::function<void()>& f)
    {
        if (f) f();
    }

    Dataset* dataset_ = nullptr;
    std::string fieldName_;
    bool readOnly_ = false;
    bool modified_ = false;
    bool wasEditing_ = false;
    bool wasActive_ = false;
    bool writing_ = false;
};

} // namespace pemvora::data
