#include "app/windows/tform1.h"

#include "app/binding/datasetamountlink.h"
#include "app/lists/referencelists.h"
#include "app/startup/quit.h"
#include "app/widgets/buttonedit.h"
#include "app/widgets/dateedit.h"
#include "app/widgets/dosmove.h"
#include "app/widgets/navigator.h"
#include "app/widgets/numberedit.h"
#include "app/widgets/titlelabel.h"
#include "app/windows/uifonts.h"
#include "controls/amountgrid/currencyedit.h"
#include "controls/amountgrid/currencylabel.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

namespace pemvora::app {

namespace {

const QColor kMaroon(0x80, 0x00, 0x00);
const QColor kGridGreen(0x00, 0x80, 0x00);
constexpr const char* kPublisherAddress = "http://www.pemvora.cn";
const QDate kNoDate(1752, 9, 14);   // the date box's minimum, shown as an empty box

QString q(const std::string& s) { return QString::fromStdString(s); }

// The client area under the toolbar: paints the two dotted green lines that
// frame the centre.
class ChequeCanvas : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        QPen pen(kGridGreen);
        pen.setStyle(Qt::DotLine);
        p.setPen(pen);
        p.drawLine(175, 66, 175, 281);
        p.drawRect(182, 173, 513 - 1, 60 - 1);
    }
};

void setComboText(QComboBox* box, const std::string& text)
{
    const QString t = q(text);
    if (box->currentText() == t) return;
    box->setEditText(t);
    if (box->lineEdit()) box->lineEdit()->setCursorPosition(0);   // show the start of a long name
}

// The dropped-down list is as wide as its widest item needs, so that a long
// bank name or account number shows whole; it may reach past its box.
void fitListWidth(QComboBox* box)
{
    QAbstractItemView* list = box->view();
    int widest = 0;
    for (int row = 0; row < box->count(); ++row)
        widest = std::max(widest, list->sizeHintForIndex(list->model()->index(row, 0)).width());
    const int scrollBar = box->count() > box->maxVisibleItems() ? list->verticalScrollBar()->sizeHint().width() : 0;
    list->setMinimumWidth(widest + 2 * list->frameWidth() + scrollBar);
}

void fillItems(QComboBox* box, const std::vector<std::string>& items)
{
    const QString text = box->currentText();
    box->clear();
    for (const std::string& s : items) box->addItem(q(s));
    box->setEditText(text);
    fitListWidth(box);
}

} // namespace

TForm1::TForm1(QWidget* parent, std::function<DateTime()> now)
    : QMainWindow(parent), controller_(std::make_unique<ChequeController>(ui::services(), std::move(now)))
{
    setObjectName("Form1");
    setWindowTitle("Pemvora V2.0");
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFont(uiFont());
    build();
    controller_->setView(this);
    textsChanged();   // the creation step: the hidden amount and the capital date of today
}

TForm1::~TForm1()
{
    controller_->setView(nullptr);
    snccy->setFieldLink(nullptr);
}

void TForm1::build()
{
    auto* canvas = new ChequeCanvas(this);
    setCentralWidget(canvas);
    setFixedSize(704, 369);

    // Input boxes have the tooltip background; labels are maroon.
    QPalette boxPalette = palette();
    boxPalette.setColor(QPalette::Base, QApplication::palette().color(QPalette::ToolTipBase));
    QPalette labelPalette = palette();
    labelPalette.setColor(QPalette::WindowText, kMaroon);
    const auto label = [&](const char* text, int x, int y, int w = -1) {
        auto* l = new QLabel(QString::fromUtf8(text), canvas);
        l->setPalette(labelPalette);
        if (w > 0) {
            l->setGeometry(x, y, w, 21);
            l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        } else {
            l->move(x, y);
            l->adjustSize();
        }
        return l;
    };
    const auto box = [&](QWidget* w, const char* name, int x, int y, int width, int height) {
        w->setObjectName(name);
        w->setGeometry(x, y, width, height);
        w->setPalette(boxPalette);
        for (QWidget* child : w->findChildren<QWidget*>()) child->setPalette(boxPalette);
    };

    // ---- Toolbar ----
    ToolBar1 = new QToolBar(canvas);
    ToolBar1->setObjectName("ToolBar1");
    ToolBar1->setGeometry(0, 0, 704, 52);
    ToolBar1->setMovable(false);
    ToolBar1->setIconSize(QSize(32, 32));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    ToolBar1->setContentsMargins(0, 0, 0, 0);
    ToolBar1->setStyleSheet("QToolBar { spacing: 0px; padding: 0px; } QToolButton { padding: 0px; margin: 0px; }");
    const auto tool = [&](const char* name, const char* caption, const char* hint, QStyle::StandardPixmap icon) {
        auto* b = new QToolButton(ToolBar1);
        b->setObjectName(name);
        b->setText(QString::fromUtf8(caption));
        b->setToolTip(QString::fromUtf8(hint));
        // Pictures of 32 x 32, also where the style only has a smaller one.
        const QPixmap picture = style()->standardIcon(icon).pixmap(32, 32);
        b->setIcon(QIcon(picture.size() == QSize(32, 32)
                             ? picture
                             : picture.scaled(32, 32, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
        b->setIconSize(QSize(32, 32));
        b->setFixedSize(60, 50);
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);
        ToolBar1->addWidget(b);
        return b;
    };
    ToolButton6 = tool("ToolButton6", "收款单位", "新增收款单位", QStyle::SP_FileDialogContentsView);
    ToolButton4 = tool("ToolButton4", "用  途", "用途", QStyle::SP_FileDialogDetailedView);
    ToolButton2 = tool("ToolButton2", "帐号设置", "帐号设置", QStyle::SP_DriveHDIcon);
    ToolButton3 = tool("ToolButton3", "使用单位", "使用单位信息", QStyle::SP_ComputerIcon);
    ToolButton1 = tool("ToolButton1", "人员管理", "人员管理", QStyle::SP_DirHomeIcon);
    ToolButton7 = tool("ToolButton7", "退  出", "退出", QStyle::SP_DialogCloseButton);

    // ---- Title ----
    AALabel1 = new widgets::TitleLabel(QString::fromUtf8("银行Pemvora"), canvas);
    AALabel1->setObjectName("AALabel1");
    AALabel1->setGeometry(246, 63, 267, 31);
    AALabel1->setFont(titleFont());

    // ---- Left column ----
    label("支票类型:", 14, 100, 62);
    czplx = new QComboBox(canvas);
    czplx->setEditable(true);
    czplx->setInsertPolicy(QComboBox::NoInsert);
    czplx->addItems({QString::fromUtf8("转帐"), QString::fromUtf8("现金")});
    box(czplx, "czplx", 79, 100, 81, 21);

    label("出票日期:", 14, 145, 62);
    csj = new widgets::DateEdit(canvas);
    csj->setMinimumDate(kNoDate);
    csj->setSpecialValueText(" ");
    csj->setDate(kNoDate);
    box(csj, "csj", 79, 145, 81, 21);

    label("票据金额:", 14, 193, 62);
    rxdbj = new widgets::NumberEdit(canvas);
    box(rxdbj, "rxdbj", 79, 193, 81, 21);

    cms = new QGroupBox(QString::fromUtf8("打印模式:"), canvas);
    cms->setObjectName("cms");
    cms->setGeometry(8, 237, 154, 44);
    cms->setStyleSheet(QString("QGroupBox::title { color: %1; }").arg(kMaroon.name()));
    cmsItems = new QButtonGroup(cms);
    auto* cmsLayout = new QHBoxLayout(cms);
    cmsLayout->setContentsMargins(8, 2, 8, 2);
    int id = 0;
    for (const char* item : {"普通", "特殊"}) {
        auto* r = new QRadioButton(QString::fromUtf8(item), cms);
        cmsItems->addButton(r, id++);
        cmsLayout->addWidget(r);
    }
    cmsItems->button(0)->setChecked(true);

    DBN1 = new widgets::Navigator({widgets::Navigator::Button::First, widgets::Navigator::Button::Prior,
                                   widgets::Navigator::Button::Next, widgets::Navigator::Button::Last},
                                  canvas);
    DBN1->setObjectName("DBN1");
    DBN1->setGeometry(9, 308, 168, 26);

    // ---- Centre ----
    label("日期大写:", 190, 109);
    sj = new QLabel(canvas);
    sj->setObjectName("sj");
    sj->setGeometry(254, 107, 230, 17);

    label("收款单位:", 180, 137, 55);
    cdw = new widgets::ButtonEdit(canvas);
    cdw->button()->setToolTip(QString::fromUtf8("选择单位"));
    box(cdw, "cdw", 238, 137, 249, 21);

    auto* rmb = label("人民币\n(大写)", 188, 182);
    rmb->setAlignment(Qt::AlignCenter);
    rmb->adjustSize();
    cdx = new QLabel(canvas);
    cdx->setObjectName("cdx");
    cdx->setGeometry(230, 193, 310, 21);
    cdx->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    label("用    途:", 176, 252, 47);
    cyt = new QComboBox(canvas);
    cyt->setEditable(true);
    cyt->setInsertPolicy(QComboBox::NoInsert);
    box(cyt, "cyt", 226, 252, 197, 21);

    BitBtn1 = new QPushButton(QString::fromUtf8("增加"), canvas);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn1->setGeometry(217, 307, 58, 27);
    BitBtn2 = new QPushButton(QString::fromUtf8("保存"), canvas);
    BitBtn2->setObjectName("BitBtn2");
    BitBtn2->setGeometry(285, 307, 58, 27);
    BitBtn3 = new QPushButton(QString::fromUtf8("打印"), canvas);
    BitBtn3->setObjectName("BitBtn3");
    BitBtn3->setGeometry(353, 307, 58, 27);
    BitBtn4 = new QPushButton(QString::fromUtf8("打印修改"), canvas);
    BitBtn4->setObjectName("BitBtn4");
    BitBtn4->setGeometry(423, 307, 82, 27);
    for (QPushButton* b : {BitBtn1, BitBtn2, BitBtn3, BitBtn4}) b->setAutoDefault(false);

    // ---- Right column ----
    label("支票号码:", 500, 102, 70);
    czphm = new QLineEdit(canvas);
    box(czphm, "czphm", 573, 102, 119, 21);
    label("付款行名称:", 490, 124, 80);
    cyh = new QComboBox(canvas);
    cyh->setEditable(true);
    cyh->setInsertPolicy(QComboBox::NoInsert);
    box(cyh, "cyh", 573, 124, 121, 21);
    label("出票人帐号:", 490, 146, 80);
    czh = new QComboBox(canvas);
    czh->setEditable(true);
    czh->setInsertPolicy(QComboBox::NoInsert);
    box(czh, "czh", 573, 146, 122, 21);

    sncCurrencyLabel1 = new amountgrid::TsncCurrencyLabel(canvas);
    sncCurrencyLabel1->setObjectName("sncCurrencyLabel1");
    sncCurrencyLabel1->setDigitalSymbols({"元", "十", "百", "千", "万", "十", "百", "千", "亿", "十", "百", "千", "万"});
    sncCurrencyLabel1->setDecimalSymbols({"角", "分"});
    sncCurrencyLabel1->setGridLineColor(kGridGreen);
    sncCurrencyLabel1->setGeometry(547, 178, 145, 25);

    snccy = new amountgrid::TsncDBCurrencyEdit(canvas);
    snccy->setObjectName("snccy");
    snccy->setCurrencySymbol(QString::fromUtf8("￥"));
    snccy->setGridLineColor(kGridGreen);
    snccy->setFocusedColor(Qt::white);
    snccy->setGeometry(547, 202, 145, 23);

    // ---- Hidden ----
    Label11 = new QLabel(canvas);
    Label12 = new QLabel(canvas);
    Label13 = new QLabel(canvas);
    sncCurrencyEdit1 = new amountgrid::TsncCurrencyEdit(canvas);
    sncCurrencyEdit1->setCurrencySymbol(QString::fromUtf8("￥"));
    for (QWidget* w : std::initializer_list<QWidget*>{Label11, Label12, Label13, sncCurrencyEdit1}) w->hide();
    Label11->setObjectName("Label11");
    Label12->setObjectName("Label12");
    Label13->setObjectName("Label13");
    sncCurrencyEdit1->setObjectName("sncCurrencyEdit1");

    // ---- Status bar ----
    auto* status = statusBar();
    status->setObjectName("StatusBar1");
    status->setFixedHeight(25);
    status->setSizeGripEnabled(false);
    statusPanel1 = new QLabel(status);
    statusPanel1->setFixedWidth(530);
    statusPanel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    statusPanel2 = new QLabel(QString::fromLatin1(kPublisherAddress), status);
    statusPanel2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    status->addWidget(statusPanel1);
    status->addWidget(statusPanel2, 1);

    // ---- Tab order and the Down/Up walk along it ----
    QWidget* order[] = {czplx, csj, rxdbj, cmsItems->button(0), cmsItems->button(1), cdw, czphm, cyh, czh, cyt,
                        BitBtn2, BitBtn3, BitBtn1, DBN1, snccy, BitBtn4};
    for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
    DosMove1 = new widgets::DosMove(this);
    DosMove1->setActive(true);
    DosMove1->setOptions(widgets::DosMove::MoveOnUpDown);

    // ---- Handlers ----
    ChequeController& c = *controller_;
    const auto typed = [](QComboBox* b, void (ChequeController::*handler)(const std::string&), ChequeController& c) {
        connect(b, &QComboBox::editTextChanged, b, [&c, handler](const QString& t) { (c.*handler)(t.toStdString()); });
    };
    for (QComboBox* b : {czplx, cyh, czh, cyt})
        connect(b, &QComboBox::activated, b, [b] {   // a picked long name shows from its start
            if (b->lineEdit()) b->lineEdit()->setCursorPosition(0);
        });
    typed(czplx, &ChequeController::typeTyped, c);
    typed(cyh, &ChequeController::bankTyped, c);
    typed(czh, &ChequeController::accountTyped, c);
    typed(cyt, &ChequeController::purposeTyped, c);
    connect(cdw, &widgets::ButtonEdit::textEdited, this, [&c](const QString& t) { c.payeeTyped(t.toStdString()); });
    connect(cdw, &widgets::ButtonEdit::buttonClicked, this, [this] { openModal(windows_.payeePicker); });
    connect(czphm, &QLineEdit::textEdited, this, [&c](const QString& t) { c.chequeNumberTyped(t.toStdString()); });
    connect(csj, &QDateEdit::dateChanged, this, [&c](const QDate& d) {
        if (d != kNoDate) c.dateTyped(encodeDate(d.year(), d.month(), d.day()));
    });
    connect(rxdbj, &widgets::NumberEdit::valueEdited, this, [&c](std::optional<double> v) { c.amountTyped(v); });
    connect(cmsItems, &QButtonGroup::idClicked, this, [&c](int index) { c.setPrintMode(index); });
    connect(BitBtn1, &QPushButton::clicked, this, [&c] { c.newCheque(); });
    connect(BitBtn2, &QPushButton::clicked, this, [&c] { c.save(); });
    connect(BitBtn3, &QPushButton::clicked, this, [&c] { c.print(); });
    // BitBtn4 "打印修改" opens the template designer once printing exists.
    connect(DBN1, &widgets::Navigator::clicked, this, [&c](widgets::Navigator::Button b) {
        using B = widgets::Navigator::Button;
        switch (b) {
        case B::First: c.navigate(ChequeController::Move::First); break;
        case B::Prior: c.navigate(ChequeController::Move::Prior); break;
        case B::Next: c.navigate(ChequeController::Move::Next); break;
        case B::Last: c.navigate(ChequeController::Move::Last); break;
        default: break;
        }
    });
    connect(ToolButton6, &QToolButton::clicked, this, [this] { openModal(windows_.payees); });
    connect(ToolButton4, &QToolButton::clicked, this, [this] { openPurposes(); });
    connect(ToolButton2, &QToolButton::clicked, this, [this] { openModal(windows_.banks); });
    connect(ToolButton3, &QToolButton::clicked, this, [this] { openModal(windows_.userUnit); });
    connect(ToolButton1, &QToolButton::clicked, this, [this] { openModal(windows_.operators); });
    connect(ToolButton7, &QToolButton::clicked, this, [this] { close(); });
}

void TForm1::attach(data::TData& data, ReferenceLists& lists, Windows windows)
{
    lists_ = &lists;
    windows_ = windows;
    controller_->attachData(data);
    amountLink_ = std::make_unique<DatasetAmountLink>(data.ZPJE, "ZPJE");
    snccy->setFieldLink(amountLink_.get());
}

void TForm1::openModal(QWidget* window)
{
    if (!window) return;
    window->setWindowModality(Qt::ApplicationModal);
    if (auto* dialog = qobject_cast<QDialog*>(window)) {
        dialog->exec();
    } else {
        window->show();
    }
}

void TForm1::openPurposes()
{
    openModal(windows_.purposes);
    if (lists_) controller_->refreshPurposes(lists_->purposes);
}

// ---- The view ----

void TForm1::textsChanged()
{
    const ChequeController& c = *controller_;
    const QSignalBlocker b1(czplx), b2(cyh), b3(czh), b4(cyt), b5(cdw), b6(czphm), b7(csj), b8(rxdbj);
    setComboText(czplx, c.chequeType());
    setComboText(cyh, c.bank());
    setComboText(czh, c.account());
    setComboText(cyt, c.purpose());
    cdw->setText(q(c.payee()));
    cdx->setText(q(c.capitalAmount()));
    sj->setText(q(c.capitalDate()));
    Label11->setText(q(c.capitalYear()));
    Label12->setText(q(c.capitalMonth()));
    Label13->setText(q(c.capitalDay()));
    sncCurrencyEdit1->setValue(c.hiddenAmount());

    // The bound boxes follow the current row.
    const QString number = q(c.field("zphm").toText());
    if (czphm->text() != number) czphm->setText(number);
    const Value amount = c.field("ZPJE");
    std::optional<double> shown;
    if (!amount.isEmptyOrNull()) {
        try {
            shown = amount.toNumber();
        } catch (const ConversionError&) {
        }
    }
    rxdbj->setValue(shown);
    QDate date = kNoDate;
    const Value when = c.field("date");
    if (!when.isEmptyOrNull()) {
        try {
            const DateParts d = decodeDate(when.toDateTime());
            date = QDate(d.year, d.month, d.day);
        } catch (const ConversionError&) {
        }
    }
    if (csj->date() != date) csj->setDate(date);
}

void TForm1::listsChanged()
{
    const QSignalBlocker b1(cyh), b2(czh), b3(cyt);
    fillItems(cyh, controller_->bankItems());
    fillItems(czh, controller_->accountItems());
    fillItems(cyt, controller_->purposeItems());
}

void TForm1::enablingChanged()
{
    // A control that is disabled while it has the focus would hand it to the
    // next enabled one in the tab order (after "增加", the amount grid, where
    // a click then counts as one on a focused control). A new cheque starts
    // at its first box instead.
    const bool newEnabled = controller_->newEnabled();
    const bool navigatorEnabled = controller_->navigatorEnabled();
    QWidget* focus = QApplication::focusWidget();
    const bool onNew = focus == BitBtn1;
    const bool onNavigator = focus && (focus == DBN1 || DBN1->isAncestorOf(focus));
    if ((onNew && !newEnabled) || (onNavigator && !navigatorEnabled)) czplx->setFocus(Qt::OtherFocusReason);
    BitBtn1->setEnabled(newEnabled);
    DBN1->setEnabled(navigatorEnabled);
}

void TForm1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!shown_) {
        shown_ = true;
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
        controller_->show();
    }
}

void TForm1::closeEvent(QCloseEvent* event)
{
    if (!confirmQuit(ui::services())) {
        event->ignore();
        return;
    }
    event->accept();
    QApplication::quit();
}

} // namespace pemvora::app
