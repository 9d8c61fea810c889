#pragma once
// Binds an edit box or a drop-down list to one text column of a dataset: the
// box shows the current row's value, and what the user types or picks is
// written into the row at once (putting the dataset into edit mode first).

#include "app/data/fieldlink.h"

#include <QObject>

class QComboBox;
class QLineEdit;

namespace pemvora::app {

class FieldBinding : public QObject {
    Q_OBJECT
public:
    FieldBinding(QLineEdit* edit, data::Dataset& dataset, std::string column);
    FieldBinding(QComboBox* box, data::Dataset& dataset, std::string column);

    data::FieldLink& link() { return link_; }

private:
    void setUp(data::Dataset& dataset, std::string column);
    void load();
    void store(const QString& text);

    QLineEdit* edit_ = nullptr;
    QComboBox* box_ = nullptr;
    data::FieldLink link_;
};

} // namespace pemvora::app
