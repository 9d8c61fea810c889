#pragma once
// A grid's view of a dataset: rows as the dataset holds them (a pending new row
// last), chosen columns with their titles, and the cursor kept in step with the
// grid's current row. Moving to another row writes the row being left, as a
// data grid does; an edit in a cell puts the dataset into edit mode first.

#include "app/data/dataset.h"

#include <QAbstractTableModel>
#include <QPointer>

#include <functional>
#include <string>
#include <vector>

class QTableView;

namespace pemvora::app {

class DatasetTableModel : public QAbstractTableModel, private data::DatasetListener {
    Q_OBJECT
public:
    struct Column {
        std::string field;   // column of the dataset
        QString title;       // grid title
        bool readOnly = false;
    };

    DatasetTableModel(data::Dataset& dataset, std::vector<Column> columns, QObject* parent = nullptr);
    ~DatasetTableModel() override;

    // Keeps `view`'s current row and the dataset's cursor in step.
    void attach(QTableView* view);
    // Moves the cursor when the grid's current row changes (1-based record
    // number); false when the move was refused and the grid goes back to the
    // cursor. By default the dataset moves at once, writing the row it leaves.
    using RowMover = std::function<bool(int recNo)>;
    void setRowMover(RowMover mover) { mover_ = std::move(mover); }
    data::Dataset& dataset() const { return dataset_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

private:
    void stateChanged(data::Dataset&) override { refresh(); }
    void recordChanged(data::Dataset&) override { refresh(); }
    void fieldChanged(data::Dataset&, int) override { refresh(); }
    void datasetDestroyed(data::Dataset&) override { gone_ = true; }

    // Re-reads the shape and the values, and moves the grid to the cursor.
    void refresh();
    void syncViewToCursor();
    void viewRowChanged(int row);

    data::Dataset& dataset_;
    std::vector<Column> columns_;
    QPointer<QTableView> view_;
    RowMover mover_;
    int shownRows_ = 0;
    bool syncing_ = false;
    bool gone_ = false;
};

} // namespace pemvora::app
