#include <QAbstractButton>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "AddressPanel.h"
#include "FakeSerialPort.h"
#include "MainWindow.h"
#include "ParameterPage.h"
#include "PickGridView.h"
#include "PickPage.h"
#include "PolarityPage.h"
#include "PortList.h"
#include "RecordingNotifier.h"
#include "ScriptedDialogs.h"
#include "TestBytes.h"

// What only the window can get wrong: which control does what, which page shows, what the
// grids draw, the port list, the close question, and captions that fit at the screen's DPI
// (this suite also runs at 192 dpi).
class WindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup() { m_w.reset(); }
    void startsOnTheParameterPageWithItsDefaults();
    void controlsDriveTheSessionAndOnePageShows();
    void gridCellsShowPicksAndGuides();
    void keyboardPicksButAHeldKeyPicksOnce();
    void addressPanelSendsItsBoxesAndShowsTheAnswer();
    void mapFilesGoThroughTheDialogs();
    void aChosenPortKeepsItsDevice();
    void closingAsksOnlyWhilePicksAreUnsaved();
    void everyCaptionFitsItsControl();

private:
    MainWindow& w() { return *m_w; }
    void clickCell(PickGrid grid, int row, int col);

    FakeSerialPort m_port;
    RecordingNotifier m_notifier;
    ScriptedDialogs m_dialogs;
    QStringList m_devices{QStringLiteral("/dev/ttyS0")};
    std::unique_ptr<MainWindow> m_w;
};

void WindowTest::init() {
    m_port = FakeSerialPort();
    m_notifier = RecordingNotifier();
    m_devices = {QStringLiteral("/dev/ttyS0")};
    const PortNames names([this] { return m_devices; }, [](const QString&) { return QString(); });
    m_w = std::make_unique<MainWindow>(MainWindow::Seams{m_port, m_notifier, m_dialogs, names});
    m_w->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_w.get()));
}

void WindowTest::clickCell(PickGrid grid, int row, int col) {
    PickGridView* view = w().pickPage(grid)->grid();
    const QRect cell = view->visualRect(view->model()->index(row - 1, col - 1));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
}

void WindowTest::startsOnTheParameterPageWithItsDefaults() {
    QCOMPARE(w().windowTitle(), u("LumotrixV6.1"));
    const ParameterInput input = w().parameterPage()->input();
    QCOMPARE(input.width + input.height + input.scanCount, u("643216"));
    QCOMPARE(w().parameterPage()->colourBox()->currentText(), u("单色"));
    QCOMPARE(w().parameterPage()->redGreenBox()->currentText(), u("2"));
    QCOMPARE(w().portList()->currentText(), u("COM1"));
    QVERIFY(w().parameterPage()->widthEdit()->hasFocus());
    for (QWidget* off : QList<QWidget*>{w().previousButton(), w().completeButton(),
                                        w().downloadButton(), w().addressPanel()->statusLabel()}) {
        QVERIFY2(!off->isEnabled() || !off->isVisible(), qPrintable(off->objectName()));
    }
    QVERIFY(m_port.openedDevices.isEmpty());
}

void WindowTest::controlsDriveTheSessionAndOnePageShows() {
    const auto shown = [this] {
        QStringList names;
        for (QWidget* page : QList<QWidget*>{
                 w().parameterPage(), w().addressPanel(), w().polarityPage(Page::OePolarity),
                 w().polarityPage(Page::DisplayPolarity), w().pickPage(PickGrid::Rows),
                 w().pickPage(PickGrid::Columns)}) {
            if (page->isVisible()) {
                names << page->objectName();
            }
        }
        return names.join(QLatin1Char(' '));
    };
    QCOMPARE(shown(), u("Cell Frame1"));
    w().parameterPage()->scanBox()->setEditText(u("2"));
    w().nextButton()->click();
    QCOMPARE(shown(), u("OeFrame"));
    w().polarityPage(Page::OePolarity)->choiceButtons()[1]->click();
    w().nextButton()->click();
    QCOMPARE(shown(), u("DisFrame"));
    QTRY_VERIFY(w().polarityPage(Page::DisplayPolarity)->indicatorButtons()[0]->isChecked());
    w().nextButton()->click();
    QCOMPARE(shown(), u("HangFrame"));
    QVERIFY(!w().completeButton()->isEnabled());
    clickCell(PickGrid::Rows, 3, 5);
    QCOMPARE(w().pickCountLabel()->text(), u("1/2"));
    w().undoButton()->click();
    QCOMPARE(w().pickCountLabel()->text(), u("0/2"));
    clickCell(PickGrid::Rows, 3, 5);
    clickCell(PickGrid::Rows, 1, 2);
    QCOMPARE(shown(), u("LieFrame"));
    clickCell(PickGrid::Columns, 2, 9);
    QCOMPARE(w().pickCountLabel()->text(), u("1列"));
    QCOMPARE(w().session().buffer().at(8).value(), 133);
    QCOMPARE(w().session().buffer().at(24).value(), 73);
    QVERIFY(w().completeButton()->isEnabled() && !w().nextButton()->isEnabled());
    w().previousButton()->click();
    QCOMPARE(shown(), u("HangFrame"));
    QCOMPARE(m_port.written.mid(1, 2), (QList<QByteArray>{hex("5AA50DFFFF6000000101000000"),
                                                          hex("5AA50DFFFF6002000200000000")}));
}

void WindowTest::gridCellsShowPicksAndGuides() {
    w().nextButton()->click();
    for (int i = 0; i < 3; ++i) {
        w().nextButton()->click();
    }
    for (const auto& [row, col] : {std::pair{2, 3}, {2, 3}, {4, 4}, {2, 3}}) {
        clickCell(PickGrid::Columns, row, col);
    }
    const PickGridModel& m = w().pickPage(PickGrid::Columns)->grid()->gridModel();
    const auto cell = [&m](int row, int col, int role) {
        return m.data(m.index(row - 1, col - 1), role);
    };
    QCOMPARE(cell(2, 3, Qt::BackgroundRole).value<QColor>(), PickGridModel::kRepeated);
    QCOMPARE(cell(2, 3, Qt::DisplayRole).toString(), u("1…4"));
    QCOMPARE(cell(4, 4, Qt::BackgroundRole).value<QColor>(), PickGridModel::kPicked);
    QCOMPARE(cell(4, 4, Qt::DisplayRole).toString(), u("3"));
    for (const auto& [row, col] : {std::pair{4, 2}, {3, 9}, {1, 1}}) {
        QCOMPARE(cell(row, col, Qt::BackgroundRole).value<QColor>(), PickGridModel::kGuide);
    }
    QVERIFY(cell(3, 2, Qt::BackgroundRole).value<QColor>() != PickGridModel::kGuide);
    const PickGridModel& rows = w().pickPage(PickGrid::Rows)->grid()->gridModel();
    QVERIFY(rows.isGuide(5, 2) && !rows.isGuide(4, 9));
    QCOMPARE(m.headerData(63, Qt::Horizontal, Qt::DisplayRole).toString(), u("64"));
    QCOMPARE(m.rowCount() * 100 + m.columnCount(), 32 * 100 + 64);
}

void WindowTest::keyboardPicksButAHeldKeyPicksOnce() {
    for (int i = 0; i < 3; ++i) {
        w().nextButton()->click();
    }
    PickGridView* grid = w().pickPage(PickGrid::Rows)->grid();
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(1, 1));
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
    QApplication::sendEvent(grid, &press);
    QApplication::sendEvent(grid, &repeat);
    QApplication::sendEvent(grid, &repeat);
    QCOMPARE(w().session().picks(PickGrid::Rows).count(), 1);
    QTest::keyClick(grid, Qt::Key_Return);
    QCOMPARE(w().session().picks(PickGrid::Rows).picksAt(2, 2), (QList<int>{1, 2}));
}

void WindowTest::addressPanelSendsItsBoxesAndShowsTheAnswer() {
    AddressPanel* panel = w().addressPanel();
    panel->screenNumberEdit()->setText(u("7"));
    panel->ipEdits()[2]->setText(u("1"));
    m_port.answers = {hex("06")};
    panel->setAddressButton()->click();
    QCOMPARE(panel->statusLabel()->text(), u("设置地址"));
    QVERIFY(panel->statusLabel()->isVisible() && !w().nextButton()->isEnabled());
    QTRY_COMPARE(panel->statusLabel()->text(), u("设置成功"));
    QCOMPARE(m_port.written.last().mid(9, 5), hex("07C0A80164"));
    QByteArray answer = zeros(26);
    answer[0] = 0x5A;
    answer[17] = 9;
    answer[25] = 42;
    m_port.answers = {answer};
    panel->readAddressButton()->click();
    QTRY_COMPARE(panel->statusLabel()->text(), u("读出成功"));
    QCOMPARE(panel->screenNumberEdit()->text() + panel->ipEdits()[3]->text(), u("942"));
    QVERIFY(w().nextButton()->isEnabled());
    w().nextButton()->click();
    QVERIFY(!panel->statusLabel()->isVisible());
}

void WindowTest::mapFilesGoThroughTheDialogs() {
    QTemporaryDir dir;
    const QString file = dir.filePath(u("module.bin"));
    w().parameterPage()->scanBox()->setEditText(u("1"));
    for (int i = 0; i < 3; ++i) {
        w().nextButton()->click();
    }
    clickCell(PickGrid::Rows, 1, 1);
    m_dialogs.answers = {file, file};
    w().completeButton()->click();
    QVERIFY(QFile::exists(file) && w().downloadButton()->isEnabled());
    w().openButton()->click();
    QCOMPARE(m_dialogs.asked,
             (QStringList{u("save bin Files(*.bin)|*.bin"), u("open bin Files(*.bin)|*.bin")}));
    w().downloadButton()->click();
    QCOMPARE(w().addressPanel()->statusLabel()->text(), u("下载0"));
    QVERIFY(w().parameterPage()->isVisible());
    QVERIFY(m_notifier.messages.isEmpty());
}

void WindowTest::aChosenPortKeepsItsDevice() {
    m_devices = {QStringLiteral("/dev/ttyUSB0"), QStringLiteral("/dev/ttyS0")};  // plugged in
    w().nextButton()->click();
    QCOMPARE(m_port.openedDevices, QStringList{u("/dev/ttyS0")});  // chosen at start-up
    QCOMPARE(w().portList()->toolTip(), u("/dev/ttyS0"));
    w().portList()->showPopup();
    w().portList()->hidePopup();
    QCOMPARE(w().portList()->itemData(0, Qt::ToolTipRole).toString(), u("/dev/ttyUSB0"));
    QCOMPARE(w().portList()->itemData(2, Qt::ToolTipRole).toString(), u("没有找到串口设备"));
    Q_EMIT w().portList()->activated(0);  // chosen again: the device it names now
    QVERIFY(!m_port.isOpen());
    w().previousButton()->click();
    w().nextButton()->click();
    QCOMPARE(m_port.openedDevices.last(), u("/dev/ttyUSB0"));
}

void WindowTest::closingAsksOnlyWhilePicksAreUnsaved() {
    QVERIFY(w().close());
    QVERIFY(m_notifier.questions.isEmpty());
    w().show();
    for (int i = 0; i < 3; ++i) {
        w().nextButton()->click();
    }
    clickCell(PickGrid::Rows, 1, 1);
    QVERIFY(!w().close());
    QCOMPARE(m_notifier.questions.size(), 1);
    m_notifier.discard = true;
    QVERIFY(w().close());
}

void WindowTest::everyCaptionFitsItsControl() {
    w().addressPanel()->showStatus(u("下载完成"));  // the longest status caption
    w().addressPanel()->ipEdits()[0]->setText(u("255"));
    int checked = 0;
    for (QWidget* widget : w().findChildren<QWidget*>()) {
        QString caption;
        int room = widget->width();
        if (auto* b = qobject_cast<QAbstractButton*>(widget)) {
            caption = b->text();
            const bool radio = qobject_cast<QRadioButton*>(widget) != nullptr;
            room -= radio ? widget->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                                widget->style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing)
                          : 4;
        } else if (auto* l = qobject_cast<QLabel*>(widget)) {
            caption = l->text();
        } else if (auto* g = qobject_cast<QGroupBox*>(widget)) {
            caption = g->title();
        } else if (auto* e = qobject_cast<QLineEdit*>(widget)) {
            caption = e->text();
            room -= 4;
        } else if (auto* c = qobject_cast<QComboBox*>(widget)) {
            caption = c->currentText();
            room -= widget->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2;
        }
        if (caption.isEmpty() || widget->objectName().isEmpty()) {
            continue;  // the parts inside a control are the control's own business
        }
        const QFontMetrics fm(widget->font());
        QVERIFY2(fm.boundingRect(caption).width() <= room,
                 qPrintable(widget->objectName() + u(" \"") + caption + u("\" does not fit")));
        ++checked;
    }
    QVERIFY(checked >= 35);
}

QTEST_MAIN(WindowTest)
#include "tst_window.moc"
