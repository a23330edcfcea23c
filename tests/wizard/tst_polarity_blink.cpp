#include <QtTest>

#include "WindowFixture.h"

// The blink of the two polarity pages: what each tick marks and sends, its timing, its restart,
// and how a tick that cannot send is reported.
class PolarityBlinkTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { m_f = std::make_unique<WindowFixture>(); }
    void cleanup() { m_f.reset(); }

    void firstTickComes20msAfterThePageThenEveryTwoSeconds();
    void ticksAlternateIndicatorAndPatternInStep_data();
    void ticksAlternateIndicatorAndPatternInStep();
    void leavingThePageStopsItsBlinkAndStartsTheNext();
    void returningWithPreRestartsAtStateOne();
    void clickingAnIndicatorChangesNothingElse();
    void tickThatCannotSendIsReportedAndBlinkingGoesOn_data();
    void tickThatCannotSendIsReportedAndBlinkingGoesOn();
    void noSecondMessageWhileOneIsOpen_data();
    void noSecondMessageWhileOneIsOpen();

private:
    IntervalTimer* timer(int page) { return page == 2 ? m_f->c().OeTimer : m_f->c().DisTimer; }
    QRadioButton* const* indicators(int page) {
        return page == 2 ? m_f->c().OeDis : m_f->c().DisDis;
    }

    std::unique_ptr<WindowFixture> m_f;
};

namespace {
const QByteArray kOeOne = QByteArray::fromHex("5AA50DFFFF6001000100000000");
const QByteArray kOeTwo = QByteArray::fromHex("5AA50DFFFF60010001FFFFFFFF");
const QByteArray kDisOne = QByteArray::fromHex("5AA50DFFFF6002000200000000");
const QByteArray kDisTwo = QByteArray::fromHex("5AA50DFFFF60020002FFFFFFFF");
}  // namespace

void PolarityBlinkTest::firstTickComes20msAfterThePageThenEveryTwoSeconds() {
    m_f->goToPage(2);
    m_f->port.written.clear();
    QTRY_COMPARE_WITH_TIMEOUT(m_f->port.written.size(), 1, 1000);
    QCOMPARE(m_f->port.written.first(), kOeOne);
    QVERIFY(m_f->c().OeDis[0]->isChecked());
    QCOMPARE(m_f->c().OeTimer->interval(), 2000);
    QVERIFY(m_f->c().OeTimer->isRunning());
    QTest::qWait(300);
    QCOMPARE(m_f->port.written.size(), 1);  // the next one is two seconds away
}

void PolarityBlinkTest::ticksAlternateIndicatorAndPatternInStep_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<QByteArray>("one");
    QTest::addColumn<QByteArray>("two");
    QTest::newRow("OE") << 2 << kOeOne << kOeTwo;
    QTest::newRow("display") << 3 << kDisOne << kDisTwo;
}

void PolarityBlinkTest::ticksAlternateIndicatorAndPatternInStep() {
    QFETCH(int, page);
    QFETCH(QByteArray, one);
    QFETCH(QByteArray, two);
    m_f->goToPage(page);
    m_f->port.written.clear();
    for (int i = 0; i < 4; ++i) {
        Q_EMIT timer(page)->tick();
        const bool stateOne = i % 2 == 0;
        QCOMPARE(m_f->port.written.last(), stateOne ? one : two);
        QCOMPARE(indicators(page)[0]->isChecked(), stateOne);
        QCOMPARE(indicators(page)[1]->isChecked(), !stateOne);
    }
    QCOMPARE(m_f->port.written.size(), 4);
}

void PolarityBlinkTest::leavingThePageStopsItsBlinkAndStartsTheNext() {
    m_f->goToPage(3);
    QVERIFY(!m_f->c().OeTimer->isRunning());
    m_f->port.written.clear();
    QTRY_COMPARE_WITH_TIMEOUT(m_f->port.written.size(), 1, 1000);
    QCOMPARE(m_f->port.written.first(), kDisOne);
}

void PolarityBlinkTest::returningWithPreRestartsAtStateOne() {
    m_f->goToPage(2);
    Q_EMIT m_f->c().OeTimer->tick();  // state "1" shown, "2" next
    m_f->clickNext();
    m_f->clickPre();
    QCOMPARE(m_f->state().StepOe, 0);
    QCOMPARE(m_f->c().OeTimer->interval(), 20);
    m_f->port.written.clear();
    Q_EMIT m_f->c().OeTimer->tick();
    QCOMPARE(m_f->port.written, QList<QByteArray>{kOeOne});
}

void PolarityBlinkTest::clickingAnIndicatorChangesNothingElse() {
    m_f->goToPage(2);
    m_f->port.written.clear();
    m_f->c().OeDis[1]->click();
    QVERIFY(m_f->port.written.isEmpty());
    QCOMPARE(m_f->state().StepOe, 0);
    Q_EMIT m_f->c().OeTimer->tick();
    QVERIFY(m_f->c().OeDis[0]->isChecked());
    QCOMPARE(m_f->port.written, QList<QByteArray>{kOeOne});
}

void PolarityBlinkTest::tickThatCannotSendIsReportedAndBlinkingGoesOn_data() {
    QTest::addColumn<int>("page");
    QTest::newRow("OE") << 2;
    QTest::newRow("display") << 3;
}

void PolarityBlinkTest::tickThatCannotSendIsReportedAndBlinkingGoesOn() {
    QFETCH(int, page);
    m_f->goToPage(page);
    m_f->port.close();
    m_f->port.failOpen = true;
    for (int i = 0; i < 3; ++i) {
        Q_EMIT timer(page)->tick();
        QCOMPARE(indicators(page)[0]->isChecked(), i % 2 == 0);
    }
    QCOMPARE(m_f->notifier.messages, QStringList(3, QString::fromUtf8("串口被占用")));
    QVERIFY(timer(page)->isRunning());
    QCOMPARE(timer(page)->interval(), 2000);
}

void PolarityBlinkTest::noSecondMessageWhileOneIsOpen_data() {
    QTest::addColumn<int>("page");
    QTest::newRow("OE") << 2;
    QTest::newRow("display") << 3;
}

void PolarityBlinkTest::noSecondMessageWhileOneIsOpen() {
    QFETCH(int, page);
    m_f->goToPage(page);
    m_f->port.close();
    m_f->port.failOpen = true;
    int ticksWhileOpen = 0;
    m_f->notifier.whileOpen = [&] {
        // Two more ticks arrive while the box waits for the user.
        for (int i = 0; i < 2; ++i) {
            ++ticksWhileOpen;
            Q_EMIT timer(page)->tick();
        }
    };
    Q_EMIT timer(page)->tick();
    QCOMPARE(ticksWhileOpen, 2);
    QCOMPARE(m_f->notifier.messages.size(), 1);
    QVERIFY(indicators(page)[0]->isChecked());  // three ticks: "1", "2", "1"
    m_f->notifier.whileOpen = nullptr;
    Q_EMIT timer(page)->tick();
    QCOMPARE(m_f->notifier.messages.size(), 2);  // once closed, the next failure is shown
}

QTEST_MAIN(PolarityBlinkTest)
#include "tst_polarity_blink.moc"
