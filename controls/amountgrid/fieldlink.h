#pragma once
// The link between a bound amount control and one numeric field of a dataset.
//
// A dataset offers one of these per bound control: it implements the pure
// operations below and calls recordChanged(), editingStateChanged() and
// updateData() when its record, its state or a post asks for them. The base
// keeps the link's own state (read-only flag, modified flag) and passes the
// notifications to the control attached to it.

#include "controls/amountgrid/amount.h"

namespace pemvora::amountgrid {

class AmountFieldLink {
public:
    class Client {
    public:
        virtual void fieldDataChanged() = 0;     // the record or the field changed: reload
        virtual void fieldEditingChanged() = 0;  // editing() may have changed
        virtual void fieldUpdateData() = 0;      // write the control's value into the field
        virtual void fieldLinkGone() = 0;        // the link is going away
    protected:
        ~Client() = default;
    };

    AmountFieldLink() = default;
    AmountFieldLink(const AmountFieldLink&) = delete;
    AmountFieldLink& operator=(const AmountFieldLink&) = delete;
    virtual ~AmountFieldLink();

    void attach(Client* client) { client_ = client; }
    void detach(Client* client);

    // ---- implemented by the dataset ----
    virtual bool active() const = 0;             // dataset open and the field present
    virtual Amount fieldValue() const = 0;       // the field as a number; 0 for Null
    virtual bool datasetEditing() const = 0;     // the dataset is in edit or insert state
    virtual bool fieldCanModify() const = 0;     // the dataset and the field accept changes
    virtual void startEdit() = 0;                // put the dataset into edit mode; may throw
    virtual void writeField(const Amount& value) = 0;  // may throw (the change is refused)

    // ---- the link's own state ----
    bool readOnly() const { return readOnly_; }
    void setReadOnly(bool on);
    bool canModify() const { return !readOnly_ && active() && fieldCanModify(); }
    bool editing() const { return datasetEditing() && canModify(); }
    // Edit mode if the field can be modified; whether the link edits afterwards.
    bool edit();
    bool modified() const { return modified_; }
    void setModified() { modified_ = true; }
    // Reload the control from the field, dropping what was typed.
    void reset() { recordChanged(); }
    // Write what was typed into the field; the error of a refused write goes
    // to the caller and the link stays modified.
    void updateRecord() { updateData(); }

protected:
    // ---- called by the dataset ----
    void recordChanged();
    void editingStateChanged();
    void updateData();

private:
    Client* client_ = nullptr;
    bool readOnly_ = false;
    bool modified_ = false;
};

}  // namespace pemvora::amountgrid
