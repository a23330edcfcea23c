#include <QtTest>

#include "../wizard/WindowFixture.h"
#include "Errors.h"
#include "StatusLabel.h"

// The address commands and the download on the real window with a recording port: the exact
// bytes, the captions, the checks of the boxes, and what happens around an exchange.
class ExchangesFakeTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup() { m_f.reset(); }

    void defaultsSendTheDefaultSetAddress();
    void boxesAreReadLikeEveryNumberField_data();
    void boxesAreReadLikeEveryNumberField();
    void boxesOutside0To255AreRefusedBeforeThePort_data();
    void boxesOutside0To255AreRefusedBeforeThePort();
    void setAnswersDecideTheCaption_data();
    void setAnswersDecideTheCaption();
    void readFillsTheBoxesFromAGoodAnswer();
    void readRefusesShortOrForeignAnswers_data();
    void readRefusesShortOrForeignAnswers();
    void goodDownloadSends17PacketsWithTheirNumbersAndCaptions();
    void dataPacketChecksumIsTheXorOfItsBytes();
    void noAnswerToDataPacket5EndsTheDownload();
    void nakToDataPacket1EndsAfterOnePacket();
    void downloadReturnsTheWizardToItsFirstPageFirst();
    void portFailureMidTransferIsReportedAndClosesThePort();
    void nothingElseCanSendWhileAnExchangeRuns();
    void blinkPausesDuringAnAddressExchange();
    void closingTheWindowDuringAnExchangeClosesThePort();

private:
    void waitUntilIdle() { QTRY_VERIFY_WITH_TIMEOUT(!m_f->program->commands().isBusy(), 5000); }
    void acknowledge(int packets) {
        for (int i = 0; i < packets; ++i) {
            m_f->port.answers.append(QByteArray("\x06", 1));
        }
    }

    std::unique_ptr<WindowFixture> m_f;
    QStringList m_captions;
};

namespace {
QByteArray setAddress(const char* head) {
    return hex(head) + QByteArray(26, '\0');
}
const QByteArray kReadAddress = QByteArray::fromHex("5AA528FFFF0A100010") + QByteArray(31, '\0');
QString u(const char* s) {
    return QString::fromUtf8(s);
}
}  // namespace

void ExchangesFakeTest::init() {
    m_f = std::make_unique<WindowFixture>();
    m_captions.clear();
    auto* label = qobject_cast<StatusLabel*>(m_f->c().Label6);
    QVERIFY(label != nullptr);
    connect(label, &StatusLabel::captionChanged, this,
            [this](const QString& text) { m_captions.append(text); });
}

void ExchangesFakeTest::defaultsSendTheDefaultSetAddress() {
    acknowledge(1);
    m_f->c().Command1->click();
    QCOMPARE(m_captions, QStringList{u("设置地址")});
    QVERIFY(m_f->program->commands().isBusy());
    waitUntilIdle();
    QCOMPARE(m_f->port.written, QList<QByteArray>{setAddress("5AA528FFFF0A03000F00C0A80064")});
    QCOMPARE(m_captions, (QStringList{u("设置地址"), u("设置成功")}));
    QVERIFY(!m_f->port.isOpen());
    QVERIFY(m_f->c().Label6->isVisible() || !m_f->c().Label6->isHidden());
}

void ExchangesFakeTest::boxesAreReadLikeEveryNumberField_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("packet");
    QTest::newRow("leading space and letters")
        << " 12abc" << setAddress("5AA528FFFF0A0F000F0CC0A80064");
    QTest::newRow("empty") << "" << setAddress("5AA528FFFF0A03000F00C0A80064");
    QTest::newRow("1.5") << "1.5" << setAddress("5AA528FFFF0A01000F02C0A80064");
    QTest::newRow("2.5") << "2.5" << setAddress("5AA528FFFF0A01000F02C0A80064");
    QTest::newRow("255.4") << "255.4" << setAddress("5AA528FFFF0AFC000FFFC0A80064");
}

void ExchangesFakeTest::boxesAreReadLikeEveryNumberField() {
    QFETCH(QString, text);
    QFETCH(QByteArray, packet);
    m_f->c().Text2->setText(text);
    acknowledge(1);
    m_f->c().Command1->click();
    waitUntilIdle();
    QCOMPARE(m_f->port.written, QList<QByteArray>{packet});
}

void ExchangesFakeTest::boxesOutside0To255AreRefusedBeforeThePort_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("portOpen");
    QTest::addColumn<QString>("message");
    const QString screen = u("屏号必须是 0 到 255 之间的整数");
    const QString ip = u("IP地址每一段必须是 0 到 255 之间的整数");
    QTest::newRow("screen 256") << "Text2"
                                << "256" << false << screen;
    QTest::newRow("screen 255.5") << "Text2"
                                  << "255.5" << false << screen;
    QTest::newRow("screen -1") << "Text2"
                               << "-1" << false << screen;
    QTest::newRow("first octet 256, port left open") << "Text1"
                                                     << "256" << true << ip;
    QTest::newRow("last octet 1e3") << "Text5"
                                    << "1e3" << false << ip;
    QTest::newRow("third octet 99999999999999999999") << "Text4"
                                                      << "99999999999999999999" << true << ip;
}

void ExchangesFakeTest::boxesOutside0To255AreRefusedBeforeThePort() {
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(bool, portOpen);
    QFETCH(QString, message);
    if (portOpen) {
        m_f->goToPage(2);  // the wizard's packets leave the port open
    }
    m_f->port.written.clear();
    const int closes = m_f->port.closeCount;
    m_f->window().findChild<QLineEdit*>(box)->setText(text);
    m_f->c().Command1->click();
    QCOMPARE(m_f->notifier.messages, QStringList{message});
    QVERIFY(m_f->port.written.isEmpty());
    QCOMPARE(m_f->port.isOpen(), portOpen);
    QCOMPARE(m_f->port.closeCount, closes);
    QVERIFY(!m_f->program->commands().isBusy());
    QVERIFY(m_f->c().Command1->isEnabled());
}

void ExchangesFakeTest::setAnswersDecideTheCaption_data() {
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QString>("caption");
    QTest::newRow("06") << QByteArray("\x06", 1) << u("设置成功");
    QTest::newRow("06 and more") << QByteArray("\x06\x15\x00", 3) << u("设置成功");
    QTest::newRow("15") << QByteArray("\x15", 1) << u("设置失败");
    QTest::newRow("none") << QByteArray() << u("设置失败");
}

void ExchangesFakeTest::setAnswersDecideTheCaption() {
    QFETCH(QByteArray, answer);
    QFETCH(QString, caption);
    m_f->port.answers.append(answer);
    m_f->c().Command1->click();
    waitUntilIdle();
    QCOMPARE(m_captions.last(), caption);
    QVERIFY(!m_f->port.isOpen());
    QVERIFY(m_f->notifier.messages.isEmpty());
}

void ExchangesFakeTest::readFillsTheBoxesFromAGoodAnswer() {
    QByteArray answer(26, '\0');
    answer[0] = '\x5a';
    answer[17] = '\x07';
    answer.replace(22, 4, QByteArray::fromHex("C0A8010A"));
    m_f->port.answers.append(answer);
    m_f->c().Command2->click();
    QCOMPARE(m_captions, QStringList{u("读出地址")});
    waitUntilIdle();
    QCOMPARE(m_f->port.written, QList<QByteArray>{kReadAddress});
    QCOMPARE(m_captions.last(), u("读出成功"));
    const OEControls& c = m_f->c();
    QCOMPARE(QStringList({c.Text2->text(), c.Text1->text(), c.Text3->text(), c.Text4->text(),
                          c.Text5->text()}),
             QStringList({u("7"), u("192"), u("168"), u("1"), u("10")}));
    QVERIFY(!m_f->port.isOpen());
}

void ExchangesFakeTest::readRefusesShortOrForeignAnswers_data() {
    QTest::addColumn<QByteArray>("answer");
    QByteArray shortAnswer(10, '\x07');
    shortAnswer[0] = '\x5a';
    QByteArray foreign(40, '\x07');
    foreign[0] = '\x06';
    QTest::newRow("5A but 10 bytes") << shortAnswer;
    QTest::newRow("5A but 25 bytes") << (QByteArray("\x5a", 1) + QByteArray(24, '\x09'));
    QTest::newRow("40 bytes not beginning 5A") << foreign;
    QTest::newRow("no answer") << QByteArray();
}

void ExchangesFakeTest::readRefusesShortOrForeignAnswers() {
    QFETCH(QByteArray, answer);
    m_f->port.answers.append(answer);
    m_f->c().Command2->click();
    waitUntilIdle();
    QCOMPARE(m_captions, (QStringList{u("读出地址"), u("读出失败")}));
    QCOMPARE(m_f->c().Text2->text(), u("0"));
    QCOMPARE(m_f->c().Text1->text(), u("192"));
    QVERIFY(m_f->notifier.messages.isEmpty());
    QVERIFY(!m_f->port.isOpen());
}

void ExchangesFakeTest::goodDownloadSends17PacketsWithTheirNumbersAndCaptions() {
    QByteArray image(2048, '\0');
    for (int i = 0; i < 2048; ++i) {
        image[i] = static_cast<char>((i * 7 + 3) & 0xFF);
    }
    m_f->state().mapImage.assign(image);
    m_f->c().DownLoad->setEnabled(true);
    acknowledge(16);
    m_f->c().DownLoad->click();
    QCOMPARE(m_captions, QStringList{u("下载0")});
    QTRY_VERIFY_WITH_TIMEOUT(!m_f->program->commands().isBusy(), 6000);

    QStringList expected{u("下载0")};
    for (int n = 1; n <= 16; ++n) {
        expected << u("下载") + QString::number(n);
    }
    expected << u("下载完成");
    QCOMPARE(m_captions, expected);
    const QList<QByteArray>& w = m_f->port.written;
    QCOMPARE(w.size(), 17);
    for (int n = 0; n < 16; ++n) {
        QCOMPARE(w[n].size(), 136);
        QCOMPARE(w[n].left(4), hex("5AA588FF"));
        QCOMPARE(static_cast<int>(w[n][4]), n);
        QCOMPARE(w[n].mid(5, 1), hex("61"));
        QCOMPARE(w[n].mid(8), image.mid(n * 128, 128));
    }
    QCOMPARE(w[16].left(9), hex("5AA588FF100A040004"));
    QCOMPARE(w[16].mid(9), w[15].mid(9));
    QVERIFY(!m_f->port.isOpen());
    QVERIFY(m_f->c().DownLoad->isEnabled());
    QVERIFY(m_f->notifier.messages.isEmpty());
}

void ExchangesFakeTest::dataPacketChecksumIsTheXorOfItsBytes() {
    m_f->port.answers.append(QByteArray("\x15", 1));
    m_f->c().DownLoad->setEnabled(true);
    m_f->c().DownLoad->click();
    waitUntilIdle();
    QCOMPARE(m_f->port.written.first().mid(6, 1), hex("00"));  // an all-zero first block

    m_f->state().mapImage.set(0, 0x01);
    m_f->port.written.clear();
    m_f->port.answers.append(QByteArray("\x15", 1));
    m_f->c().DownLoad->click();
    waitUntilIdle();
    QCOMPARE(m_f->port.written.first().left(9), hex("5AA588FF0061010001"));
}

void ExchangesFakeTest::noAnswerToDataPacket5EndsTheDownload() {
    acknowledge(4);
    m_f->c().DownLoad->setEnabled(true);
    m_f->c().DownLoad->click();
    waitUntilIdle();
    QCOMPARE(m_captions, (QStringList{u("下载0"), u("下载1"), u("下载2"), u("下载3"), u("下载4"),
                                      u("下载失败")}));
    QCOMPARE(m_f->port.written.size(), 5);  // no closing packet
    QVERIFY(!m_f->port.isOpen());
    QVERIFY(m_f->notifier.messages.isEmpty());
}

void ExchangesFakeTest::nakToDataPacket1EndsAfterOnePacket() {
    m_f->port.answers.append(QByteArray("\x15", 1));
    m_f->c().DownLoad->setEnabled(true);
    m_f->c().DownLoad->click();
    waitUntilIdle();
    QCOMPARE(m_captions, (QStringList{u("下载0"), u("下载失败")}));
    QCOMPARE(m_f->port.written.size(), 1);
}

void ExchangesFakeTest::downloadReturnsTheWizardToItsFirstPageFirst() {
    m_f->goToPage(3);
    m_f->c().DownLoad->setEnabled(true);
    m_f->port.close();
    m_f->port.failOpen = true;
    m_f->port.written.clear();
    m_f->c().DownLoad->click();
    QCOMPARE(m_f->state().StepNum.value(), 1);
    QCOMPARE(m_f->front(), QStringLiteral("Cell"));
    QVERIFY(!m_f->c().DisTimer->isEnabled());
    waitUntilIdle();
    QCOMPARE(m_captions, QStringList{u("下载0")});
    QCOMPARE(m_f->notifier.messages, QStringList{u("串口被占用")});
    QVERIFY(m_f->port.written.isEmpty());
    QVERIFY(!m_f->c().Pre->isEnabled());
    QVERIFY(!m_f->c().Complete->isEnabled());
    QVERIFY(m_f->c().NextB->isEnabled());
    QVERIFY(m_f->c().DownLoad->isEnabled());
    QVERIFY(!m_f->c().DisTimer->isRunning());
}

void ExchangesFakeTest::portFailureMidTransferIsReportedAndClosesThePort() {
    acknowledge(16);
    int writes = 0;
    m_f->port.onWrite = [&writes] {
        if (++writes == 3) {
            throw PortError("fake: the adapter was pulled");
        }
    };
    m_f->c().DownLoad->setEnabled(true);
    m_f->c().DownLoad->click();
    waitUntilIdle();
    QCOMPARE(m_captions.last(), u("下载2"));
    QCOMPARE(m_f->notifier.messages, QStringList{u("串口被占用")});
    QVERIFY(!m_f->port.isOpen());
    // The next exchange starts clean.
    m_f->port.onWrite = nullptr;
    m_f->port.answers = {QByteArray("\x06", 1)};
    m_f->c().Command1->click();
    waitUntilIdle();
    QCOMPARE(m_captions.last(), u("设置成功"));
}

void ExchangesFakeTest::nothingElseCanSendWhileAnExchangeRuns() {
    m_f->goToPage(4);
    acknowledge(1);
    const OEControls& c = m_f->c();
    QList<QWidget*> senders = {c.Pre,      c.NextB,    c.Undo, c.HangGrid, c.LieGrid,
                               c.Command1, c.Command2, c.Open, c.Combo1};
    c.Command2->click();
    for (QWidget* w : senders + QList<QWidget*>{c.Complete, c.DownLoad}) {
        QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
    }
    const int before = static_cast<int>(m_f->port.written.size());
    c.Command1->click();                           // disabled buttons take no click
    m_f->program->commands().onCommand1Clicked();  // nor does a second exchange start
    QCOMPARE(m_f->port.written.size(), before);
    waitUntilIdle();
    for (QWidget* w : senders) {
        QVERIFY2(w->isEnabled(), qPrintable(w->objectName()));
    }
    QVERIFY(!c.Complete->isEnabled());  // as the row page had it
    QVERIFY(!c.DownLoad->isEnabled());
}

void ExchangesFakeTest::blinkPausesDuringAnAddressExchange() {
    m_f->goToPage(2);
    QVERIFY(m_f->c().OeTimer->isRunning());
    m_f->c().Command2->click();
    QVERIFY(!m_f->c().OeTimer->isRunning());
    waitUntilIdle();
    QVERIFY(m_f->c().OeTimer->isRunning());
}

void ExchangesFakeTest::closingTheWindowDuringAnExchangeClosesThePort() {
    acknowledge(16);
    m_f->c().DownLoad->setEnabled(true);
    m_f->c().DownLoad->click();
    QTRY_COMPARE_WITH_TIMEOUT(m_f->port.written.size(), 2, 3000);
    QVERIFY(m_f->port.isOpen());
    m_f->window().close();
    m_f->program.reset();
    QVERIFY(!m_f->port.isOpen());
    QTest::qWait(200);  // no timer of the gone exchange fires into freed memory
    QCOMPARE(m_f->port.written.size(), 2);
}

QTEST_MAIN(ExchangesFakeTest)
#include "tst_exchanges_fake.moc"
