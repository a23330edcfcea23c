#include "OE.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "FlexGrid.h"
#include "IntervalTimer.h"
#include "Link.h"
#include "StatusLabel.h"
#include "Twips.h"
#include "UiFonts.h"

namespace {

const char* const kTwipsProperty = "twipsGeometry";

// Places a control at a position given in twips, relative to its container, and keeps the
// twips so the layout can be redone at another DPI.
template <typename W>
W* place(W* widget, const char* name, int left, int top, int width, int height) {
    widget->setObjectName(QString::fromLatin1(name));
    const QRect twips(left, top, width, height);
    widget->setProperty(kTwipsProperty, twips);
    widget->setGeometry(Twips::toPixels(twips, widget->logicalDpiX()));
    return widget;
}

QGroupBox* frame(QWidget* parent, const char* name, const QString& caption, int l, int t, int w,
                 int h) {
    auto* box = place(new QGroupBox(caption, parent), name, l, t, w, h);
    box->setAutoFillBackground(true);  // a frame in front hides what lies behind it
    return box;
}

QLabel* label(QWidget* parent, const char* name, const QString& caption, int l, int t, int w,
              int h) {
    return place(new QLabel(caption, parent), name, l, t, w, h);
}

QLineEdit* textBox(QWidget* parent, const char* name, const QString& text, int l, int t, int w,
                   int h) {
    auto* box = place(new QLineEdit(text, parent), name, l, t, w, h);
    // The boxes are drawn for three digits in 25 pixels; the style's own inner margin would
    // clip "192", so the text may use it.
    box->setTextMargins(-2, 0, -2, 0);
    return box;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, int l, int t, int w,
                    int h) {
    return place(new QPushButton(caption, parent), name, l, t, w, h);
}

QComboBox* comboBox(QWidget* parent, const char* name, const QStringList& items, int l, int t,
                    int w, int h) {
    auto* box = place(new QComboBox(parent), name, l, t, w, h);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(items);
    return box;
}

// One element of a two-element option button array; the elements of a frame form one group.
QRadioButton* option(QWidget* parent, const char* array, int element, const QString& caption, int l,
                     int t, int w, int h) {
    auto* button = place(new QRadioButton(caption, parent), array, l, t, w, h);
    button->setObjectName(QStringLiteral("%1(%2)").arg(QString::fromLatin1(array)).arg(element));
    button->setAutoExclusive(true);
    return button;
}

// Moves a control to a new top-left corner given in twips.
void moveTo(QWidget* widget, int left, int top) {
    QRect twips = widget->property(kTwipsProperty).toRect();
    twips.moveTopLeft(QPoint(left, top));
    widget->setProperty(kTwipsProperty, twips);
    widget->setGeometry(Twips::toPixels(twips, widget->logicalDpiX()));
}

QRect twipsOf(const QWidget* widget) {
    return widget->property(kTwipsProperty).toRect();
}

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

}  // namespace

OE::OE(Link& comm, QWidget* parent) : QWidget(parent), m_comm(comm) {
    setObjectName(QStringLiteral("OE"));
    setWindowTitle(QStringLiteral("LumotrixV6.1"));
    setFont(UiFonts::simSun(9));
    setFixedSize(Twips::toPixels(kClientWidthTwips, logicalDpiX()),
                 Twips::toPixels(kClientHeightTwips, logicalDpiY()));
    createFrames();
    createParameterFields();
    createAddressFields();
    createStepFrames();
    createBottomRow();
    setFocusOrder();
}

void OE::createFrames() {
    m_c.Cell = frame(this, "Cell", u("单元板参数"), 240, 240, 2895, 3735);
    m_c.Frame1 = frame(this, "Frame1", u("设置屏号"), 3120, 240, 3135, 3735);
    m_c.OeFrame = frame(this, "OeFrame", u("第1步 OE极性选择"), 480, 120, 6015, 3735);
    m_c.DisFrame = frame(this, "DisFrame", u("第2步 显示极性选择"), 480, 240, 6015, 3735);
    m_c.HangFrame = frame(this, "HangFrame", u("第3步 行选择"), 480, 120, 6015, 3735);
    m_c.LieFrame = frame(this, "LieFrame", u("第4步 列选择"), 840, 600, 6015, 3735);
    for (QGroupBox* f :
         {m_c.Cell, m_c.Frame1, m_c.OeFrame, m_c.DisFrame, m_c.HangFrame, m_c.LieFrame}) {
        m_frames.add(f);
    }
}

void OE::createBottomRow() {
    QStringList ports;
    for (int n = 1; n <= 12; ++n) {
        ports << QStringLiteral("COM%1").arg(n);
    }
    m_c.Combo1 = comboBox(this, "Combo1", ports, 240, 4237, 855, 300);
    m_c.Pre = button(this, "Pre", u("上一步"), 1200, 4200, 735, 375);
    m_c.NextB = button(this, "NextB", u("下一步"), 2040, 4200, 735, 375);
    m_c.Undo = button(this, "Undo", u("后退"), 2880, 4200, 615, 375);
    m_c.Complete = button(this, "Complete", u("完成"), 3600, 4200, 615, 375);
    m_c.Open = button(this, "Open", u("打开"), 4800, 4200, 615, 375);
    m_c.DownLoad = button(this, "DownLoad", u("下载"), 5520, 4200, 615, 375);
    // In the gap of the button row, so it covers neither a grid nor a caption.
    m_c.PickCount = label(this, "PickCount", QString(), 4245, 4260, 540, 255);
    m_c.PickCount->setAlignment(Qt::AlignCenter);
    m_c.PickCount->setVisible(false);
    connect(m_c.Combo1, &QComboBox::currentIndexChanged, this,
            [this](int index) { m_comm.onCombo1Click(index); });
}

void OE::createParameterFields() {
    QWidget* cell = m_c.Cell;
    m_c.Label1 = label(cell, "Label1", u("宽度"), 480, 495, 735, 255);
    m_c.LedWidth = textBox(cell, "LedWidth", u("64"), 1320, 480, 735, 270);
    m_c.Label2 = label(cell, "Label2", u("高度"), 480, 975, 735, 255);
    m_c.LedHeigh = textBox(cell, "LedHeigh", u("32"), 1320, 960, 735, 270);
    m_c.Label3 = label(cell, "Label3", u("颜色"), 480, 1440, 735, 255);
    m_c.LedColor = comboBox(cell, "LedColor", {u("单色"), u("双色")}, 1320, 1440, 735, 300);
    m_c.Label4 = label(cell, "Label4", u("扫描周期"), 480, 1920, 735, 255);
    m_c.LedScan =
        comboBox(cell, "LedScan", {u("16"), u("8"), u("4"), u("1")}, 1320, 1920, 735, 300);
    m_c.Label5 = label(cell, "Label5", u("红绿数量"), 480, 2400, 735, 255);
    m_c.LedInNum =
        comboBox(cell, "LedInNum", {u("1"), u("2"), u("3"), u("4")}, 1320, 2400, 735, 300);
}

void OE::createAddressFields() {
    QWidget* f = m_c.Frame1;
    m_c.Label11 = label(f, "Label11", u("屏号"), 360, 480, 735, 255);
    m_c.Text2 = textBox(f, "Text2", u("0"), 1200, 480, 375, 270);
    m_c.Label7 = label(f, "Label7", u("IP地址"), 360, 840, 735, 255);
    m_c.Text1 = textBox(f, "Text1", u("192"), 1200, 840, 375, 270);
    m_c.Label8 = label(f, "Label8", u("."), 1560, 840, 135, 495);
    m_c.Text3 = textBox(f, "Text3", u("168"), 1680, 840, 375, 270);
    m_c.Label9 = label(f, "Label9", u("."), 2040, 840, 135, 495);
    m_c.Text4 = textBox(f, "Text4", u("0"), 2160, 840, 375, 270);
    m_c.Label10 = label(f, "Label10", u("."), 2520, 840, 135, 495);
    m_c.Text5 = textBox(f, "Text5", u("100"), 2640, 840, 375, 270);
    m_c.Command1 = button(f, "Command1", u("设置"), 1200, 1440, 615, 375);
    m_c.Command2 = button(f, "Command2", u("读出"), 1920, 1440, 615, 375);
    m_c.Label6 = place(new StatusLabel(f), "Label6", 480, 2400, 1695, 375);
    for (QLabel* dot : {m_c.Label8, m_c.Label9, m_c.Label10}) {
        dot->setFont(UiFonts::simSun(15.75));
        dot->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
}

void OE::createStepFrames() {
    struct Pair {
        QGroupBox* step;
        QGroupBox** indicatorFrame;
        QRadioButton** indicators;
        QGroupBox** choiceFrame;
        QRadioButton** choices;
        const char* names[4];
    };
    const Pair pairs[] = {
        {m_c.OeFrame,
         &m_c.OeDisFrame,
         m_c.OeDis,
         &m_c.OeSelectFrame,
         m_c.OeSelect,
         {"OeDisFrame", "OeDis", "OeSelectFrame", "OeSelect"}},
        {m_c.DisFrame,
         &m_c.DisDisFrame,
         m_c.DisDis,
         &m_c.DisSelectFrame,
         m_c.DisSelect,
         {"DisDisFrame", "DisDis", "DisSelectFrame", "DisSelect"}},
    };
    for (const Pair& p : pairs) {
        *p.indicatorFrame = place(new QGroupBox(p.step), p.names[0], 720, 480, 3495, 735);
        p.indicators[0] = option(*p.indicatorFrame, p.names[1], 0, u("1"), 360, 240, 495, 375);
        p.indicators[1] = option(*p.indicatorFrame, p.names[1], 1, u("2"), 2160, 240, 495, 375);
        *p.choiceFrame = place(new QGroupBox(p.step), p.names[2], 720, 1560, 3495, 735);
        p.choices[0] = option(*p.choiceFrame, p.names[3], 0, u("1亮"), 360, 240, 735, 375);
        p.choices[1] = option(*p.choiceFrame, p.names[3], 1, u("2亮"), 2160, 240, 735, 375);
    }
    m_c.OeTimer = new IntervalTimer(m_c.OeFrame);
    m_c.OeTimer->setObjectName(QStringLiteral("OeTimer"));
    m_c.DisTimer = new IntervalTimer(m_c.DisFrame);
    m_c.DisTimer->setObjectName(QStringLiteral("DisTimer"));

    m_c.HangGrid = place(new FlexGrid(m_c.HangFrame), "HangGrid", 120, 200, 5775, 3500);
    m_c.LieGrid = place(new FlexGrid(m_c.LieFrame), "LieGrid", 120, 200, 5775, 3500);
    for (FlexGrid* grid : {m_c.HangGrid, m_c.LieGrid}) {
        grid->setFont(UiFonts::simSun(9));
    }
}

void OE::setFocusOrder() {
    const QList<QWidget*> order = {
        m_c.LedWidth,     m_c.LedHeigh,     m_c.LedColor,  m_c.LedScan,     m_c.LedInNum,
        m_c.Pre,          m_c.NextB,        m_c.Complete,  m_c.Open,        m_c.DownLoad,
        m_c.Combo1,       m_c.OeDis[0],     m_c.OeDis[1],  m_c.OeSelect[0], m_c.OeSelect[1],
        m_c.DisSelect[0], m_c.DisSelect[1], m_c.DisDis[0], m_c.DisDis[1],   m_c.HangGrid,
        m_c.LieGrid,      m_c.Text2,        m_c.Command1,  m_c.Command2,    m_c.Text1,
        m_c.Text3,        m_c.Text4,        m_c.Text5,     m_c.Undo};
    for (int i = 1; i < order.size(); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
    m_c.LedWidth->setFocus(Qt::OtherFocusReason);
}

void OE::showParameterPage() {
    m_frames.bringToFront(m_c.Cell);
    m_frames.bringToFront(m_c.Frame1);
}

void OE::startUp() {
    const QRect cell = twipsOf(m_c.Cell);
    for (QGroupBox* step : {m_c.OeFrame, m_c.DisFrame, m_c.LieFrame, m_c.HangFrame}) {
        moveTo(step, cell.left(), twipsOf(step).top());
        moveTo(step, cell.left(), cell.top());
    }
    showParameterPage();
    m_c.LedColor->setCurrentIndex(0);
    m_c.LedScan->setCurrentIndex(0);
    m_c.LedInNum->setCurrentIndex(1);
    m_state.StepNum = 1;
    m_c.Pre->setEnabled(false);
    m_c.Complete->setEnabled(false);
    // Selecting the first port counts as a choice even when it is already the current entry.
    if (m_c.Combo1->currentIndex() == 0) {
        m_comm.onCombo1Click(0);
    } else {
        m_c.Combo1->setCurrentIndex(0);
    }
    m_comm.setPortNumber(Int16(m_c.Combo1->currentIndex()) + 1);
    m_c.DownLoad->setEnabled(false);
    m_c.Label6->setVisible(false);
}

void OE::closeEvent(QCloseEvent* event) {
    if (m_mayClose && !m_mayClose()) {
        event->ignore();
        return;
    }
    event->accept();
}
