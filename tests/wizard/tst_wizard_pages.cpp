#include <QSignalSpy>
#include <QtTest>
#include <functional>

#include "Errors.h"
#include "WindowFixture.h"

// Walking the wizard on the real window with a recording port: what each page stores, sends and
// shows, forwards and backwards, and how failures are reported.
class WizardPagesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { m_f = std::make_unique<WindowFixture>(); }
    void cleanup() { m_f.reset(); }

    void defaultsStoreTheHeaderSendCellTestAndShowPage2();
    void widthTextIsReadLikeEveryNumberField_data();
    void widthTextIsReadLikeEveryNumberField();
    void typedComboTextEqualToAnEntryCountsAsThatEntry();
    void badParametersAreNamedAndNothingIsStoredOrSent_data();
    void badParametersAreNamedAndNothingIsStoredOrSent();
    void polarityChoicesAreStoredAndSent_data();
    void polarityChoicesAreStoredAndSent();
    void eachPageSetsItsButtonsAndTimers_data();
    void eachPageSetsItsButtonsAndTimers();
    void fullPassSendsThePacketsInOrder();
    void preOnPage2ReturnsToParametersSendingNothing();
    void preOnPage5ClearsRowsAndSendsHangTestZero();
    void preBackToPage3RechoosesAndRestartsBlink();
    void nextOnRowPageWithFewPicksGoesToColumns();
    void showStepOutsidePages1To5ChangesNothing_data();
    void showStepOutsidePages1To5ChangesNothing();
    void busyPortOnPage1KeepsTheWordsAndThePage();
    void busyPortWhenShowingRowPageLeavesItInFront();
    void busyPortDuringPreIsReported();
    void gridsAreLaidOutFromTheModuleOnPage2();

private:
    std::unique_ptr<WindowFixture> m_f;
};

void WizardPagesTest::defaultsStoreTheHeaderSendCellTestAndShowPage2() {
    m_f->clickNext();
    QCOMPARE(m_f->word(0), 64);
    QCOMPARE(m_f->word(1), 32);
    QCOMPARE(m_f->word(2), 0);
    QCOMPARE(m_f->word(3), 16);
    QCOMPARE(m_f->word(4), 1);
    QCOMPARE(m_f->port.written, QList<QByteArray>{hex("5AA50DFFFF6070000040200010")});
    QCOMPARE(m_f->state().StepNum.value(), 2);
    QCOMPARE(m_f->front(), QStringLiteral("OeFrame"));
    QCOMPARE(m_f->port.openedDevices, QStringList{QStringLiteral("COM1")});
    QVERIFY(m_f->c().OeSelect[0]->isChecked());
    QCOMPARE(m_f->state().StepOe, 0);
    QVERIFY(m_f->notifier.messages.isEmpty());
}

void WizardPagesTest::widthTextIsReadLikeEveryNumberField_data() {
    QTest::addColumn<QString>("width");
    QTest::addColumn<QByteArray>("cellTest");
    QTest::newRow("blanks around") << QStringLiteral(" 64 ") << hex("5AA50DFFFF6070000040200010");
    QTest::newRow("letters after") << QStringLiteral("64abc") << hex("5AA50DFFFF6070000040200010");
    QTest::newRow("half to even below")
        << QStringLiteral("64.5") << hex("5AA50DFFFF6070000040200010");
    QTest::newRow("half to even above")
        << QStringLiteral("65.5") << hex("5AA50DFFFF6072000042200010");
    QTest::newRow("255") << QStringLiteral("255") << hex("5AA50DFFFF60CF0000FF200010");
    QTest::newRow("1") << QStringLiteral("1") << hex("5AA50DFFFF6031000001200010");
}

void WizardPagesTest::widthTextIsReadLikeEveryNumberField() {
    QFETCH(QString, width);
    QFETCH(QByteArray, cellTest);
    m_f->c().LedWidth->setText(width);
    m_f->clickNext();
    QCOMPARE(m_f->port.written, QList<QByteArray>{cellTest});
    QCOMPARE(m_f->word(0), static_cast<int>(static_cast<quint8>(cellTest[9])));
}

void WizardPagesTest::typedComboTextEqualToAnEntryCountsAsThatEntry() {
    m_f->c().LedColor->setEditText(QString::fromUtf8("双色"));
    m_f->c().LedScan->setEditText(QStringLiteral("12"));
    m_f->c().LedInNum->setEditText(QStringLiteral(" 4 "));
    m_f->clickNext();
    QCOMPARE(m_f->word(2), 1);
    QCOMPARE(m_f->word(3), 12);
    QCOMPARE(m_f->word(4), 3);
    QCOMPARE(m_f->port.written, QList<QByteArray>{hex("5AA50DFFFF606D00004020010C")});
}

void WizardPagesTest::badParametersAreNamedAndNothingIsStoredOrSent_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    const QString width = QString::fromUtf8("宽度必须在 1 到 255 之间");
    const QString height = QString::fromUtf8("高度必须在 1 到 255 之间");
    const QString colour = QString::fromUtf8("请从列表中选择颜色（单色或双色）");
    const QString scan = QString::fromUtf8("扫描周期必须在 1 到 16 之间");
    const QString redGreen = QString::fromUtf8("请从列表中选择红绿数量（1 到 4）");
    QTest::newRow("width 300") << "LedWidth"
                               << "300" << width;
    QTest::newRow("width 256") << "LedWidth"
                               << "256" << width;
    QTest::newRow("width 255.5 rounds to 256") << "LedWidth"
                                               << "255.5" << width;
    QTest::newRow("width 0") << "LedWidth"
                             << "0" << width;
    QTest::newRow("width letters") << "LedWidth"
                                   << "abc" << width;
    QTest::newRow("width negative") << "LedWidth"
                                    << "-1" << width;
    QTest::newRow("width 40 digits") << "LedWidth" << QString(40, QLatin1Char('9')) << width;
    QTest::newRow("height 256") << "LedHeigh"
                                << "256" << height;
    QTest::newRow("height empty") << "LedHeigh"
                                  << "" << height;
    QTest::newRow("colour not in list") << "LedColor" << QString::fromUtf8("三色") << colour;
    QTest::newRow("colour empty") << "LedColor"
                                  << "" << colour;
    QTest::newRow("scan 17 would overrun the row entries") << "LedScan"
                                                           << "17" << scan;
    QTest::newRow("scan 0") << "LedScan"
                            << "0" << scan;
    QTest::newRow("scan letters") << "LedScan"
                                  << "x" << scan;
    QTest::newRow("red-green 5") << "LedInNum"
                                 << "5" << redGreen;
    QTest::newRow("red-green empty") << "LedInNum"
                                     << "" << redGreen;
}

void WizardPagesTest::badParametersAreNamedAndNothingIsStoredOrSent() {
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, message);
    QWidget* w = m_f->window().findChild<QWidget*>(field);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        edit->setText(text);
    } else {
        qobject_cast<QComboBox*>(w)->setEditText(text);
    }
    m_f->c().Label6->setVisible(true);
    m_f->clickNext();
    QCOMPARE(m_f->notifier.messages, QStringList{message});
    QVERIFY(m_f->port.written.isEmpty());
    QVERIFY(m_f->port.openedDevices.isEmpty());
    QCOMPARE(m_f->state().StepNum.value(), 1);
    QCOMPARE(m_f->front(), QStringLiteral("Cell"));
    for (int i = 0; i <= 4; ++i) {
        QCOMPARE(m_f->word(i), 0);
    }
    // A corrected field then advances normally.
    m_f->notifier.messages.clear();
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        edit->setText(QStringLiteral("16"));
    } else {
        auto* box = qobject_cast<QComboBox*>(w);
        box->setEditText(box->itemText(0));
    }
    m_f->clickNext();
    QVERIFY(m_f->notifier.messages.isEmpty());
    QCOMPARE(m_f->state().StepNum.value(), 2);
}

void WizardPagesTest::polarityChoicesAreStoredAndSent_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("element");
    QTest::addColumn<int>("word");
    QTest::addColumn<int>("value");
    QTest::addColumn<QList<QByteArray>>("packets");
    QTest::newRow("OE 1亮") << 2 << 0 << 5 << 0
                            << QList<QByteArray>{hex("5AA50DFFFF6001000100000000")};
    QTest::newRow("OE 2亮") << 2 << 1 << 5 << 1
                            << QList<QByteArray>{hex("5AA50DFFFF6000000101000000")};
    QTest::newRow("display 1亮, then row page")
        << 3 << 0 << 6 << 0
        << QList<QByteArray>{hex("5AA50DFFFF6002000200000000"), hex("5AA50DFFFF6004000400000000")};
    QTest::newRow("display 2亮, then row page")
        << 3 << 1 << 6 << 255
        << QList<QByteArray>{hex("5AA50DFFFF60020002FFFFFFFF"), hex("5AA50DFFFF6004000400000000")};
}

void WizardPagesTest::polarityChoicesAreStoredAndSent() {
    QFETCH(int, page);
    QFETCH(int, element);
    QFETCH(int, word);
    QFETCH(int, value);
    QFETCH(QList<QByteArray>, packets);
    m_f->goToPage(page);
    QRadioButton* const* choice = page == 2 ? m_f->c().OeSelect : m_f->c().DisSelect;
    choice[element]->setChecked(true);
    m_f->port.written.clear();
    m_f->clickNext();
    QCOMPARE(m_f->word(word), value);
    QCOMPARE(m_f->port.written, packets);
    QCOMPARE(m_f->state().StepNum.value(), page + 1);
}

void WizardPagesTest::eachPageSetsItsButtonsAndTimers_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("front");
    QTest::addColumn<bool>("pre");
    QTest::addColumn<bool>("next");
    QTest::addColumn<bool>("complete");
    QTest::addColumn<bool>("oeTimer");
    QTest::addColumn<bool>("disTimer");
    QTest::newRow("2 OE polarity") << 2 << "OeFrame" << true << true << false << true << false;
    QTest::newRow("3 display polarity")
        << 3 << "DisFrame" << true << true << false << false << true;
    QTest::newRow("4 rows") << 4 << "HangFrame" << true << true << false << false << false;
    QTest::newRow("5 columns") << 5 << "LieFrame" << true << false << true << false << false;
}

void WizardPagesTest::eachPageSetsItsButtonsAndTimers() {
    QFETCH(int, page);
    QFETCH(QString, front);
    QFETCH(bool, pre);
    QFETCH(bool, next);
    QFETCH(bool, complete);
    QFETCH(bool, oeTimer);
    QFETCH(bool, disTimer);
    m_f->goToPage(page);
    const OEControls& c = m_f->c();
    QCOMPARE(m_f->front(), front);
    QCOMPARE(c.Pre->isEnabled(), pre);
    QCOMPARE(c.NextB->isEnabled(), next);
    QCOMPARE(c.Complete->isEnabled(), complete);
    QCOMPARE(c.OeTimer->isRunning(), oeTimer);
    QCOMPARE(c.DisTimer->isRunning(), disTimer);
    if (oeTimer) {
        QCOMPARE(c.OeTimer->interval(), 20);
    }
    if (disTimer) {
        QCOMPARE(c.DisTimer->interval(), 20);
    }
}

void WizardPagesTest::fullPassSendsThePacketsInOrder() {
    m_f->goToPage(5);
    const QList<QByteArray> expected = {
        hex("5AA50DFFFF6070000040200010"), hex("5AA50DFFFF6001000100000000"),
        hex("5AA50DFFFF6002000200000000"), hex("5AA50DFFFF6004000400000000"),
        hex("5AA50DFFFF6003000300000000")};
    QCOMPARE(m_f->port.written, expected);
    QCOMPARE(m_f->port.openedDevices.size(), 1);
    QCOMPARE(m_f->state().DataBufferP.value(), 0);
    QVERIFY(m_f->notifier.messages.isEmpty());
}

void WizardPagesTest::preOnPage2ReturnsToParametersSendingNothing() {
    m_f->goToPage(2);
    m_f->port.written.clear();
    m_f->clickPre();
    QCOMPARE(m_f->state().StepNum.value(), 1);
    QCOMPARE(m_f->front(), QStringLiteral("Cell"));
    QVERIFY(!m_f->c().Frame1->isHidden());
    QVERIFY(!m_f->c().Pre->isEnabled());
    QVERIFY(!m_f->c().Complete->isEnabled());
    QVERIFY(!m_f->c().OeTimer->isRunning());
    QVERIFY(!m_f->c().DisTimer->isRunning());
    QTest::qWait(60);  // the OE blink's first tick would have come by now
    QVERIFY(m_f->port.written.isEmpty());
}

void WizardPagesTest::preOnPage5ClearsRowsAndSendsHangTestZero() {
    m_f->goToPage(4);
    FlexGrid& grid = *m_f->c().HangGrid;
    grid.setRow(2);
    grid.setCol(3);
    grid.setCellBackColor(0x0000FF);
    m_f->state().DataBufferP = 3;
    m_f->clickNext();
    m_f->port.written.clear();
    m_f->clickPre();
    QCOMPARE(m_f->state().StepNum.value(), 4);
    QCOMPARE(m_f->front(), QStringLiteral("HangFrame"));
    QVERIFY(m_f->c().NextB->isEnabled());
    QVERIFY(!m_f->c().Complete->isEnabled());
    QCOMPARE(grid.colorAt(2, 3), 0x80000005u);
    QCOMPARE(grid.colorAt(5, 3), 0xC0C0C0u);
    QCOMPARE(m_f->state().DataBufferP.value(), 0);
    QCOMPARE(m_f->port.written, QList<QByteArray>{hex("5AA50DFFFF6004000400000000")});
}

void WizardPagesTest::preBackToPage3RechoosesAndRestartsBlink() {
    m_f->goToPage(3);
    m_f->c().DisSelect[1]->setChecked(true);
    m_f->state().StepDis = 1;
    m_f->clickNext();
    m_f->clickPre();
    QCOMPARE(m_f->front(), QStringLiteral("DisFrame"));
    QVERIFY(m_f->c().DisSelect[0]->isChecked());
    QCOMPARE(m_f->state().StepDis.value(), 0);
    QVERIFY(m_f->c().DisTimer->isRunning());
    QCOMPARE(m_f->c().DisTimer->interval(), 20);
    QVERIFY(!m_f->c().OeTimer->isRunning());
}

void WizardPagesTest::nextOnRowPageWithFewPicksGoesToColumns() {
    m_f->goToPage(4);
    m_f->state().DataBufferP = 5;
    m_f->port.written.clear();
    m_f->clickNext();
    QCOMPARE(m_f->state().StepNum.value(), 5);
    QCOMPARE(m_f->state().DataBufferP.value(), 0);
    QCOMPARE(m_f->port.written, QList<QByteArray>{hex("5AA50DFFFF6003000300000000")});
    QVERIFY(!m_f->c().NextB->isEnabled());
    QVERIFY(m_f->c().Complete->isEnabled());
}

void WizardPagesTest::showStepOutsidePages1To5ChangesNothing_data() {
    QTest::addColumn<int>("step");
    QTest::newRow("0") << 0;
    QTest::newRow("6") << 6;
    QTest::newRow("-32768") << -32768;
}

void WizardPagesTest::showStepOutsidePages1To5ChangesNothing() {
    QFETCH(int, step);
    m_f->goToPage(2);
    m_f->port.written.clear();
    m_f->state().StepNum = step;
    m_f->program->wizard().display().showStep();
    QCOMPARE(m_f->front(), QStringLiteral("OeFrame"));
    QVERIFY(m_f->c().Pre->isEnabled());
    QVERIFY(m_f->c().OeTimer->isRunning());
    QVERIFY(m_f->port.written.isEmpty());
}

void WizardPagesTest::busyPortOnPage1KeepsTheWordsAndThePage() {
    m_f->port.failOpen = true;
    m_f->clickNext();
    QCOMPARE(m_f->notifier.messages, QStringList{QString::fromUtf8("串口被占用")});
    QCOMPARE(m_f->state().StepNum.value(), 1);  // names the page still in front
    QCOMPARE(m_f->front(), QStringLiteral("Cell"));
    QCOMPARE(m_f->word(0), 64);
    QCOMPARE(m_f->word(3), 16);
    QVERIFY(m_f->port.written.isEmpty());
    // Once the port is free, the same click goes on to page 2.
    m_f->port.failOpen = false;
    m_f->notifier.messages.clear();
    m_f->clickNext();
    QCOMPARE(m_f->state().StepNum.value(), 2);
    QVERIFY(m_f->notifier.messages.isEmpty());
}

void WizardPagesTest::busyPortWhenShowingRowPageLeavesItInFront() {
    m_f->goToPage(3);
    m_f->state().DataBufferP = 7;
    m_f->port.failWrite = true;
    m_f->clickNext();
    QCOMPARE(m_f->notifier.messages, QStringList{QString::fromUtf8("串口被占用")});
    // The display packet failed before the page changed.
    QCOMPARE(m_f->state().StepNum.value(), 3);
    QCOMPARE(m_f->front(), QStringLiteral("DisFrame"));
    QCOMPARE(m_f->word(6), 0);

    // Now only the row page's own packet fails: the page is already in front.
    m_f->notifier.messages.clear();
    m_f->port.failWrite = false;
    m_f->c().DisSelect[1]->setChecked(true);
    int writes = 0;
    m_f->port.onWrite = [&writes, this] {
        if (++writes == 2) {
            throw PortError("fake: gone");
        }
    };
    m_f->clickNext();
    QCOMPARE(m_f->notifier.messages, QStringList{QString::fromUtf8("串口被占用")});
    QCOMPARE(m_f->state().StepNum.value(), 4);
    QCOMPARE(m_f->front(), QStringLiteral("HangFrame"));
    QCOMPARE(m_f->state().DataBufferP.value(), 0);
    QCOMPARE(m_f->word(6), 255);
}

void WizardPagesTest::busyPortDuringPreIsReported() {
    m_f->goToPage(5);
    m_f->port.close();
    m_f->port.failOpen = true;
    m_f->clickPre();
    QCOMPARE(m_f->notifier.messages, QStringList{QString::fromUtf8("串口被占用")});
    QCOMPARE(m_f->state().StepNum.value(), 4);
    QCOMPARE(m_f->front(), QStringLiteral("HangFrame"));
}

void WizardPagesTest::gridsAreLaidOutFromTheModuleOnPage2() {
    m_f->goToPage(2, QStringLiteral("32"), QStringLiteral("16"));
    for (FlexGrid* g : {m_f->c().HangGrid, m_f->c().LieGrid}) {
        QCOMPARE(g->cols(), 33);
        QCOMPARE(g->rows(), 17);
        QCOMPARE(g->textMatrix(16, 0), QStringLiteral("16"));
        QCOMPARE(g->textMatrix(0, 32), QStringLiteral("32"));
    }
    QCOMPARE(m_f->c().LieGrid->colorAt(4, 9), 0xC0C0C0u);
    QCOMPARE(m_f->c().HangGrid->colorAt(13, 2), 0xC0C0C0u);
    QCOMPARE(m_f->c().HangGrid->colorAt(14, 2), 0x80000005u);
}

QTEST_MAIN(WizardPagesTest)
#include "tst_wizard_pages.moc"
