#include "app/windows/datasettablemodel.h"

#include "platform/ui/uiservices.h"

#include <QItemSelectionModel>
#include <QTableView>
#include <QTimer>

#include <exception>

namespace pemvora::app {

namespace {

QString display(const Value& v)
{
    return QString::fromStdString(v.toText());
}

} // namespace

DatasetTableModel::DatasetTableModel(data::Dataset& dataset, std::vector<Column> columns, QObject* parent)
    : QAbstractTableModel(parent), dataset_(dataset), columns_(std::move(columns))
{
    dataset_.addListener(this);
    shownRows_ = dataset_.isOpen() ? dataset_.rowCount() : 0;
}

DatasetTableModel::~DatasetTableModel()
{
    if (!gone_) dataset_.removeListener(this);
}

void DatasetTableModel::attach(QTableView* view)
{
    view_ = view;
    view->setModel(this);
    connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current, const QModelIndex&) { viewRowChanged(current.row()); });
    syncViewToCursor();
}

int DatasetTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : shownRows_;
}

int DatasetTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant DatasetTableModel::data(const QModelIndex& index, int role) const
{
    if (gone_ || !index.isValid() || !dataset_.isOpen()) return {};
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    const int column = dataset_.fieldIndex(columns_[static_cast<std::size_t>(index.column())].field);
    if (column < 0) return {};
    return display(dataset_.valueAt(index.row(), column));
}

QVariant DatasetTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal && section >= 0 && section < static_cast<int>(columns_.size()))
        return columns_[static_cast<std::size_t>(section)].title;
    return {};
}

Qt::ItemFlags DatasetTableModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && !gone_ && dataset_.canModify() && !columns_[static_cast<std::size_t>(index.column())].readOnly)
        f |= Qt::ItemIsEditable;
    return f;
}

bool DatasetTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || gone_) return false;
    const std::string field = columns_[static_cast<std::size_t>(index.column())].field;
    const std::string text = value.toString().toStdString();
    try {
        if (dataset_.currentRow() != index.row()) dataset_.setRecNo(index.row() + 1);
        if (dataset_.valueAt(index.row(), dataset_.fieldByName(field)).toText() == text) return true;
        dataset_.edit();
        dataset_.setValue(field, text.empty() ? Value::null() : Value(text));
        return true;
    } catch (const std::exception& e) {
        ui::services().error(e.what());
        return false;
    }
}

void DatasetTableModel::refresh()
{
    if (gone_) return;
    const int rows = dataset_.isOpen() ? dataset_.rowCount() : 0;
    if (rows != shownRows_) {
        beginResetModel();
        shownRows_ = rows;
        endResetModel();
    } else if (rows > 0 && !columns_.empty()) {
        emit dataChanged(index(0, 0), index(rows - 1, static_cast<int>(columns_.size()) - 1));
    }
    syncViewToCursor();
}

void DatasetTableModel::syncViewToCursor()
{
    if (!view_ || gone_ || syncing_) return;
    const int row = dataset_.isOpen() ? dataset_.currentRow() : -1;
    QItemSelectionModel* selection = view_->selectionModel();
    if (row < 0 || selection->currentIndex().row() == row) return;
    syncing_ = true;
    const int column = std::max(0, selection->currentIndex().column());
    selection->setCurrentIndex(index(row, column), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    syncing_ = false;
}

void DatasetTableModel::viewRowChanged(int row)
{
    if (syncing_ || gone_ || row < 0 || !dataset_.isOpen() || row == dataset_.currentRow()) return;
    syncing_ = true;
    bool moved = false;
    if (mover_) {
        moved = mover_(row + 1);
    } else {
        try {
            // Leaving a row writes it (or drops an untouched new row).
            dataset_.setRecNo(row + 1);
            moved = true;
        } catch (const std::exception& e) {
            ui::services().error(e.what());
        }
    }
    syncing_ = false;
    if (moved) {
        syncViewToCursor();
        return;
    }
    // Refused: back to the row the cursor still stands on, once the view has
    // finished changing its current index.
    QTimer::singleShot(0, this, [this] { syncViewToCursor(); });
}

} // namespace pemvora::app
