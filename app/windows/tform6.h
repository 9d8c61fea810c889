#pragma once
// The operator window: operators edited in place in a grid over `users`.

#include <QDialog>

class QPushButton;
class QTableView;

namespace pemvora::data {
class Dataset;
class TData;
}

namespace pemvora::app {

class DatasetTableModel;

class TForm6 : public QDialog {
    Q_OBJECT
public:
    explicit TForm6(data::TData& data, QWidget* parent = nullptr);

    QTableView* grid = nullptr;
    QPushButton* BitBtn1 = nullptr;   // 增 加
    QPushButton* BitBtn2 = nullptr;   // 删除
    QPushButton* BitBtn3 = nullptr;   // 退出

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;   // a row being edited is written when the window closes

private:
    void run(void (*operation)(data::Dataset&));

    data::TData& data_;
    DatasetTableModel* model_ = nullptr;
};

} // namespace pemvora::app
