#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QtTest>
#include <cmath>
#include <memory>

#include "FakeSerialPort.h"
#include "FlexGrid.h"
#include "IntervalTimer.h"
#include "Lumotrix.h"
#include "RecordingNotifier.h"
#include "ScriptedDialogs.h"

// The main window as start-up leaves it: captions, places, defaults, focus, page stacking.
class WindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void startUpShowsTheParameterPageWithDefaults();
    void startUpSendsNothingAndLeavesPort1Closed();
    void startUpChoosesPort1WhateverWasChosenBefore();
    void controlsCarryTheirCaptions_data();
    void controlsCarryTheirCaptions();
    void comboBoxesHoldTheirLists_data();
    void comboBoxesHoldTheirLists();
    void controlsSitWhereTheLayoutPutsThem_data();
    void controlsSitWhereTheLayoutPutsThem();
    void clientAreaIs6570By4770Twips();
    void stepFramesLieOnCellAfterStartUp();
    void optionButtonsStartUnchosenAndPairUp();
    void timersAreEnabledWithoutIntervalAndNeverTick();
    void gridsStartWithTwoRowsAndColumnsInSongTypeface();
    void dotLabelsUseTheLargeSongTypeface();
    void focusStartsInWidthAndFollowsTheFormOrder();
    void exactlyOnePageShowsAfterEachBringToFront_data();
    void exactlyOnePageShowsAfterEachBringToFront();
    void choosingAPortSetsTheNumberWithoutOpening();

private:
    QWidget* control(const QString& name) const;
    QList<QWidget*> visiblePages() const;

    std::unique_ptr<FakeSerialPort> m_port;
    std::unique_ptr<RecordingNotifier> m_notifier;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<Lumotrix> m_program;
};

namespace {
QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

int px(int twips, double dpi) {
    return static_cast<int>(std::lround(twips * dpi / 1440.0));
}
}  // namespace

void WindowTest::init() {
    m_port = std::make_unique<FakeSerialPort>();
    m_notifier = std::make_unique<RecordingNotifier>();
    m_program = std::make_unique<Lumotrix>(Lumotrix::Seams{
        *m_port, *m_notifier, m_dialogs, [](int n) { return QStringLiteral("COM%1").arg(n); }});
    m_program->startUp();
}

void WindowTest::cleanup() {
    m_program.reset();
    m_notifier.reset();
    m_port.reset();
}

QWidget* WindowTest::control(const QString& name) const {
    OE& window = m_program->window();
    if (window.objectName() == name) {
        return &window;
    }
    auto* widget = window.findChild<QWidget*>(name);
    if (widget == nullptr) {
        qFatal("no control named %s", qPrintable(name));
    }
    return widget;
}

QList<QWidget*> WindowTest::visiblePages() const {
    const OEControls& c = m_program->window().controls();
    QList<QWidget*> shown;
    for (QWidget* page : {static_cast<QWidget*>(c.Cell), static_cast<QWidget*>(c.OeFrame),
                          static_cast<QWidget*>(c.DisFrame), static_cast<QWidget*>(c.HangFrame),
                          static_cast<QWidget*>(c.LieFrame)}) {
        if (!page->isHidden()) {
            shown.append(page);
        }
    }
    return shown;
}

void WindowTest::startUpShowsTheParameterPageWithDefaults() {
    OE& window = m_program->window();
    const OEControls& c = window.controls();
    QCOMPARE(window.windowTitle(), QStringLiteral("LumotrixV6.1"));
    QCOMPARE(c.LedColor->currentIndex(), 0);
    QCOMPARE(c.LedColor->currentText(), u("单色"));
    QCOMPARE(c.LedScan->currentIndex(), 0);
    QCOMPARE(c.LedScan->currentText(), u("16"));
    QCOMPARE(c.LedInNum->currentIndex(), 1);
    QCOMPARE(c.LedInNum->currentText(), u("2"));
    QCOMPARE(c.Combo1->currentText(), u("COM1"));
    QCOMPARE(c.LedWidth->text(), u("64"));
    QCOMPARE(c.LedHeigh->text(), u("32"));

    for (QPushButton* off : {c.Pre, c.Complete, c.DownLoad}) {
        QVERIFY2(!off->isEnabled(), qPrintable(off->objectName()));
    }
    for (QPushButton* on : {c.NextB, c.Undo, c.Open, c.Command1, c.Command2}) {
        QVERIFY2(on->isEnabled(), qPrintable(on->objectName()));
    }
    QVERIFY(c.Label6->isHidden());
    QVERIFY(!c.Cell->isHidden());
    QVERIFY(!c.Frame1->isHidden());

    const WindowState& s = window.state();
    QCOMPARE(s.StepNum.value(), 1);
    QCOMPARE(s.StepOe, 0);
    QCOMPARE(s.StepDis.value(), 0);
    QCOMPARE(s.DataBufferP.value(), 0);
    for (int i = 0; i < DataBuffer::kSize; ++i) {
        QCOMPARE(s.dataBuffer.at(i).value(), 0);
    }
    QCOMPARE(s.mapImage.toBytes(), QByteArray(2048, '\0'));
}

void WindowTest::startUpSendsNothingAndLeavesPort1Closed() {
    QCOMPARE(m_program->link().portNumber(), 1);
    QVERIFY(!m_program->link().isOpen());
    QVERIFY(m_port->openedDevices.isEmpty());
    QVERIFY(m_port->written.isEmpty());
    QVERIFY(m_notifier->messages.isEmpty());
}

void WindowTest::startUpChoosesPort1WhateverWasChosenBefore() {
    FakeSerialPort port;
    RecordingNotifier notifier;
    Lumotrix program(
        {port, notifier, m_dialogs, [](int n) { return QStringLiteral("COM%1").arg(n); }});
    program.window().controls().Combo1->setCurrentIndex(6);
    QCOMPARE(program.link().portNumber(), 7);
    program.startUp();
    QCOMPARE(program.window().controls().Combo1->currentIndex(), 0);
    QCOMPARE(program.link().portNumber(), 1);
}

void WindowTest::controlsCarryTheirCaptions_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    const QList<QPair<const char*, const char*>> rows = {{"Cell", "单元板参数"},
                                                         {"Frame1", "设置屏号"},
                                                         {"OeFrame", "第1步 OE极性选择"},
                                                         {"DisFrame", "第2步 显示极性选择"},
                                                         {"HangFrame", "第3步 行选择"},
                                                         {"LieFrame", "第4步 列选择"},
                                                         {"Pre", "上一步"},
                                                         {"NextB", "下一步"},
                                                         {"Undo", "后退"},
                                                         {"Complete", "完成"},
                                                         {"Open", "打开"},
                                                         {"DownLoad", "下载"},
                                                         {"Label1", "宽度"},
                                                         {"Label2", "高度"},
                                                         {"Label3", "颜色"},
                                                         {"Label4", "扫描周期"},
                                                         {"Label5", "红绿数量"},
                                                         {"LedWidth", "64"},
                                                         {"LedHeigh", "32"},
                                                         {"Label11", "屏号"},
                                                         {"Text2", "0"},
                                                         {"Label7", "IP地址"},
                                                         {"Text1", "192"},
                                                         {"Label8", "."},
                                                         {"Text3", "168"},
                                                         {"Label9", "."},
                                                         {"Text4", "0"},
                                                         {"Label10", "."},
                                                         {"Text5", "100"},
                                                         {"Command1", "设置"},
                                                         {"Command2", "读出"},
                                                         {"Label6", ""},
                                                         {"OeDisFrame", ""},
                                                         {"OeDis(0)", "1"},
                                                         {"OeDis(1)", "2"},
                                                         {"OeSelectFrame", ""},
                                                         {"OeSelect(0)", "1亮"},
                                                         {"OeSelect(1)", "2亮"},
                                                         {"DisDisFrame", ""},
                                                         {"DisDis(0)", "1"},
                                                         {"DisDis(1)", "2"},
                                                         {"DisSelectFrame", ""},
                                                         {"DisSelect(0)", "1亮"},
                                                         {"DisSelect(1)", "2亮"}};
    for (const auto& [name, caption] : rows) {
        QTest::newRow(name) << u(name) << u(caption);
    }
}

void WindowTest::controlsCarryTheirCaptions() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QWidget* w = control(name);
    QString actual;
    if (auto* box = qobject_cast<QGroupBox*>(w)) {
        actual = box->title();
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        actual = button->text();
    } else if (auto* lbl = qobject_cast<QLabel*>(w)) {
        actual = lbl->text();
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        actual = edit->text();
    } else {
        QFAIL("control has no caption");
    }
    QCOMPARE(actual, caption);
}

void WindowTest::comboBoxesHoldTheirLists_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("LedColor") << u("LedColor") << QStringList{u("单色"), u("双色")};
    QTest::newRow("LedScan") << u("LedScan") << QStringList{u("16"), u("8"), u("4"), u("1")};
    QTest::newRow("LedInNum") << u("LedInNum") << QStringList{u("1"), u("2"), u("3"), u("4")};
    QTest::newRow("Combo1") << u("Combo1")
                            << QStringList{u("COM1"), u("COM2"),  u("COM3"),  u("COM4"),
                                           u("COM5"), u("COM6"),  u("COM7"),  u("COM8"),
                                           u("COM9"), u("COM10"), u("COM11"), u("COM12")};
}

void WindowTest::comboBoxesHoldTheirLists() {
    QFETCH(QString, name);
    QFETCH(QStringList, items);
    auto* box = qobject_cast<QComboBox*>(control(name));
    QVERIFY(box != nullptr);
    QStringList actual;
    for (int i = 0; i < box->count(); ++i) {
        actual << box->itemText(i);
    }
    QCOMPARE(actual, items);
    QVERIFY2(box->isEditable(), "the user may type into every combo box");
}

void WindowTest::controlsSitWhereTheLayoutPutsThem_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QRect>("twips");
    struct Row {
        const char* name;
        const char* container;
        int l, t, w, h;
    };
    const Row rows[] = {
        {"Cell", "OE", 240, 240, 2895, 3735},
        {"Frame1", "OE", 3120, 240, 3135, 3735},
        {"Combo1", "OE", 240, 4237, 855, 300},
        {"Pre", "OE", 1200, 4200, 735, 375},
        {"NextB", "OE", 2040, 4200, 735, 375},
        {"Undo", "OE", 2880, 4200, 615, 375},
        {"Complete", "OE", 3600, 4200, 615, 375},
        {"Open", "OE", 4800, 4200, 615, 375},
        {"DownLoad", "OE", 5520, 4200, 615, 375},
        {"Label1", "Cell", 480, 495, 735, 255},
        {"LedWidth", "Cell", 1320, 480, 735, 270},
        {"Label2", "Cell", 480, 975, 735, 255},
        {"LedHeigh", "Cell", 1320, 960, 735, 270},
        {"Label3", "Cell", 480, 1440, 735, 255},
        {"LedColor", "Cell", 1320, 1440, 735, 300},
        {"Label4", "Cell", 480, 1920, 735, 255},
        {"LedScan", "Cell", 1320, 1920, 735, 300},
        {"Label5", "Cell", 480, 2400, 735, 255},
        {"LedInNum", "Cell", 1320, 2400, 735, 300},
        {"Label11", "Frame1", 360, 480, 735, 255},
        {"Text2", "Frame1", 1200, 480, 375, 270},
        {"Label7", "Frame1", 360, 840, 735, 255},
        {"Text1", "Frame1", 1200, 840, 375, 270},
        {"Label8", "Frame1", 1560, 840, 135, 495},
        {"Text3", "Frame1", 1680, 840, 375, 270},
        {"Label9", "Frame1", 2040, 840, 135, 495},
        {"Text4", "Frame1", 2160, 840, 375, 270},
        {"Label10", "Frame1", 2520, 840, 135, 495},
        {"Text5", "Frame1", 2640, 840, 375, 270},
        {"Command1", "Frame1", 1200, 1440, 615, 375},
        {"Command2", "Frame1", 1920, 1440, 615, 375},
        {"Label6", "Frame1", 480, 2400, 1695, 375},
        {"OeDisFrame", "OeFrame", 720, 480, 3495, 735},
        {"OeDis(0)", "OeDisFrame", 360, 240, 495, 375},
        {"OeDis(1)", "OeDisFrame", 2160, 240, 495, 375},
        {"OeSelectFrame", "OeFrame", 720, 1560, 3495, 735},
        {"OeSelect(0)", "OeSelectFrame", 360, 240, 735, 375},
        {"OeSelect(1)", "OeSelectFrame", 2160, 240, 735, 375},
        {"DisDisFrame", "DisFrame", 720, 480, 3495, 735},
        {"DisDis(0)", "DisDisFrame", 360, 240, 495, 375},
        {"DisDis(1)", "DisDisFrame", 2160, 240, 495, 375},
        {"DisSelectFrame", "DisFrame", 720, 1560, 3495, 735},
        {"DisSelect(0)", "DisSelectFrame", 360, 240, 735, 375},
        {"DisSelect(1)", "DisSelectFrame", 2160, 240, 735, 375},
        {"HangGrid", "HangFrame", 120, 200, 5775, 3500},
        {"LieGrid", "LieFrame", 120, 200, 5775, 3500},
    };
    for (const Row& r : rows) {
        QTest::newRow(r.name) << u(r.name) << u(r.container) << QRect(r.l, r.t, r.w, r.h);
    }
}

void WindowTest::controlsSitWhereTheLayoutPutsThem() {
    QFETCH(QString, name);
    QFETCH(QString, container);
    QFETCH(QRect, twips);
    QWidget* w = control(name);
    QCOMPARE(w->parentWidget()->objectName(), container);
    const double dpi = w->logicalDpiX();
    QCOMPARE(w->geometry(), QRect(px(twips.left(), dpi), px(twips.top(), dpi),
                                  px(twips.width(), dpi), px(twips.height(), dpi)));
}

void WindowTest::clientAreaIs6570By4770Twips() {
    OE& window = m_program->window();
    const double dpi = window.logicalDpiX();
    QCOMPARE(window.size(), QSize(px(6570, dpi), px(4770, dpi)));
}

void WindowTest::stepFramesLieOnCellAfterStartUp() {
    const OEControls& c = m_program->window().controls();
    const double dpi = c.Cell->logicalDpiX();
    for (QGroupBox* step : {c.OeFrame, c.DisFrame, c.HangFrame, c.LieFrame}) {
        QCOMPARE(step->geometry(), QRect(px(240, dpi), px(240, dpi), px(6015, dpi), px(3735, dpi)));
        QVERIFY2(step->isHidden(), qPrintable(step->objectName()));
    }
}

void WindowTest::optionButtonsStartUnchosenAndPairUp() {
    const OEControls& c = m_program->window().controls();
    QRadioButton* const* pairs[] = {c.OeDis, c.OeSelect, c.DisDis, c.DisSelect};
    for (QRadioButton* const* pair : pairs) {
        QVERIFY(!pair[0]->isChecked());
        QVERIFY(!pair[1]->isChecked());
        pair[0]->setChecked(true);
        pair[1]->setChecked(true);
        QVERIFY2(!pair[0]->isChecked(), "the two elements of an array form one group");
    }
    QVERIFY2(c.OeDis[1]->isChecked() && c.OeSelect[1]->isChecked(),
             "different arrays are different groups");
}

void WindowTest::timersAreEnabledWithoutIntervalAndNeverTick() {
    const OEControls& c = m_program->window().controls();
    QSignalSpy oeTicks(c.OeTimer, &IntervalTimer::tick);
    QSignalSpy disTicks(c.DisTimer, &IntervalTimer::tick);
    for (IntervalTimer* timer : {c.OeTimer, c.DisTimer}) {
        QVERIFY(timer->isEnabled());
        QCOMPARE(timer->interval(), 0);
        QVERIFY(!timer->isRunning());
    }
    QTest::qWait(60);
    QCOMPARE(oeTicks.count(), 0);
    QCOMPARE(disTicks.count(), 0);
}

void WindowTest::gridsStartWithTwoRowsAndColumnsInSongTypeface() {
    const OEControls& c = m_program->window().controls();
    for (FlexGrid* grid : {c.HangGrid, c.LieGrid}) {
        QCOMPARE(grid->rows(), 2);
        QCOMPARE(grid->cols(), 2);
        QCOMPARE(grid->fixedRows(), 1);
        QCOMPARE(grid->fixedCols(), 1);
        QCOMPARE(grid->font().families().value(0), u("宋体"));
        QCOMPARE(grid->font().pointSizeF(), 9.0);
        QCOMPARE(grid->model()->rowCount(), 1);
        QCOMPARE(grid->model()->columnCount(), 1);
    }
}

void WindowTest::dotLabelsUseTheLargeSongTypeface() {
    const OEControls& c = m_program->window().controls();
    for (QLabel* dot : {c.Label8, c.Label9, c.Label10}) {
        QCOMPARE(dot->font().families().value(0), u("宋体"));
        QCOMPARE(dot->font().pointSizeF(), 15.75);
    }
    QCOMPARE(c.Label1->font().pointSizeF(), 9.0);  // the rest of the window keeps 9 points
}

void WindowTest::focusStartsInWidthAndFollowsTheFormOrder() {
    OE& window = m_program->window();
    const OEControls& c = window.controls();
    QCOMPARE(window.focusWidget(), c.LedWidth);

    const QList<QWidget*> expected = {
        c.LedWidth,  c.LedHeigh,    c.LedColor,    c.LedScan,      c.LedInNum,     c.Pre,
        c.NextB,     c.Complete,    c.Open,        c.DownLoad,     c.Combo1,       c.OeDis[0],
        c.OeDis[1],  c.OeSelect[0], c.OeSelect[1], c.DisSelect[0], c.DisSelect[1], c.DisDis[0],
        c.DisDis[1], c.HangGrid,    c.LieGrid,     c.Text2,        c.Command1,     c.Command2,
        c.Text1,     c.Text3,       c.Text4,       c.Text5,        c.Undo};
    QList<QWidget*> chain;
    QWidget* w = c.LedWidth;
    do {
        if (expected.contains(w) && !chain.contains(w)) {
            chain.append(w);
        }
        w = w->nextInFocusChain();
    } while (w != c.LedWidth && chain.size() < expected.size());
    QCOMPARE(chain, expected);

    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(c.LedWidth));
    QTest::keyClick(c.LedWidth, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(c.LedHeigh));
}

void WindowTest::exactlyOnePageShowsAfterEachBringToFront_data() {
    QTest::addColumn<QStringList>("sequence");
    QTest::addColumn<QString>("shown");
    const QString cellPage = u("Cell+Frame1");
    QTest::newRow("start-up") << QStringList{} << cellPage;
    QTest::newRow("OE step") << QStringList{u("OeFrame")} << u("OeFrame");
    QTest::newRow("display step") << QStringList{u("DisFrame")} << u("DisFrame");
    QTest::newRow("row step") << QStringList{u("HangFrame")} << u("HangFrame");
    QTest::newRow("column step") << QStringList{u("LieFrame")} << u("LieFrame");
    QTest::newRow("row then column") << QStringList{u("HangFrame"), u("LieFrame")} << u("LieFrame");
    QTest::newRow("column then row")
        << QStringList{u("LieFrame"), u("HangFrame")} << u("HangFrame");
    QTest::newRow("step then parameters")
        << QStringList{u("DisFrame"), u("Cell"), u("Frame1")} << cellPage;
    QTest::newRow("parameters in the other order")
        << QStringList{u("LieFrame"), u("Frame1"), u("Cell")} << cellPage;
}

void WindowTest::exactlyOnePageShowsAfterEachBringToFront() {
    QFETCH(QStringList, sequence);
    QFETCH(QString, shown);
    OE& window = m_program->window();
    for (const QString& name : sequence) {
        window.frames().bringToFront(control(name));
    }
    const QList<QWidget*> pages = visiblePages();
    QCOMPARE(pages.size(), 1);
    if (shown == u("Cell+Frame1")) {
        QCOMPARE(pages.first(), static_cast<QWidget*>(window.controls().Cell));
        QVERIFY(!window.controls().Frame1->isHidden());
    } else {
        QCOMPARE(pages.first()->objectName(), shown);
        QVERIFY(window.controls().Frame1->isHidden());
    }
}

void WindowTest::choosingAPortSetsTheNumberWithoutOpening() {
    const OEControls& c = m_program->window().controls();
    c.Combo1->setCurrentIndex(11);
    QCOMPARE(m_program->link().portNumber(), 12);
    QVERIFY(!m_program->link().isOpen());
    QVERIFY(m_port->openedDevices.isEmpty());
}

QTEST_MAIN(WindowTest)
#include "tst_window.moc"
