#include "controls/amountgrid/fieldlink.h"

namespace pemvora::amountgrid {

AmountFieldLink::~AmountFieldLink() {
    if (client_) client_->fieldLinkGone();
}

void AmountFieldLink::detach(Client* client) {
    if (client_ == client) client_ = nullptr;
}

void AmountFieldLink::setReadOnly(bool on) {
    if (readOnly_ == on) return;
    readOnly_ = on;
    editingStateChanged();
}

bool AmountFieldLink::edit() {
    if (canModify() && !datasetEditing()) startEdit();
    return editing();
}

void AmountFieldLink::recordChanged() {
    modified_ = false;
    if (client_) client_->fieldDataChanged();
}

void AmountFieldLink::editingStateChanged() {
    if (client_) client_->fieldEditingChanged();
}

void AmountFieldLink::updateData() {
    if (!modified_) return;
    if (client_ && active()) client_->fieldUpdateData();
    modified_ = false;
}

}  // namespace pemvora::amountgrid
