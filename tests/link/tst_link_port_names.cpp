#include <QtTest>

#include "PortNames.h"

// How the port list's numbers become devices: USB adapters first, then the others, each in
// name order with numbers by value; LUMOTRIX_COMn wins when set.
class PortNamesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void numberPicksTheDevice_data();
    void numberPicksTheDevice();
    void toolTipNamesTheDeviceOrSaysThereIsNone();
};

using Environment = QMap<QString, QString>;

void PortNamesTest::numberPicksTheDevice_data() {
    QTest::addColumn<QStringList>("devices");
    QTest::addColumn<Environment>("environment");
    QTest::addColumn<QStringList>("expected");  // COM1, COM2, ... then one beyond the list
    const QStringList mixed = {u"/dev/ttyS1"_qs,   u"/dev/ttyUSB10"_qs, u"/dev/ttyS0"_qs,
                               u"/dev/ttyACM0"_qs, u"/dev/ttyUSB2"_qs,  u"/dev/ttyAMA0"_qs};
    QTest::newRow("adapters first, numbers by value")
        << mixed << Environment{}
        << QStringList{u"/dev/ttyACM0"_qs, u"/dev/ttyUSB2"_qs, u"/dev/ttyUSB10"_qs,
                       u"/dev/ttyAMA0"_qs, u"/dev/ttyS0"_qs,   u"/dev/ttyS1"_qs,
                       QString()};
    QTest::newRow("mac adapters before built-in ports")
        << QStringList{u"/dev/cu.Bluetooth-Incoming-Port"_qs, u"/dev/cu.usbserial-A1"_qs}
        << Environment{}
        << QStringList{u"/dev/cu.usbserial-A1"_qs, u"/dev/cu.Bluetooth-Incoming-Port"_qs,
                       QString()};
    QTest::newRow("the variable wins, an empty one does not")
        << QStringList{u"/dev/ttyS0"_qs}
        << Environment{{u"LUMOTRIX_COM1"_qs, QString()}, {u"LUMOTRIX_COM2"_qs, u"/tmp/sim"_qs}}
        << QStringList{u"/dev/ttyS0"_qs, u"/tmp/sim"_qs, QString()};
}

void PortNamesTest::numberPicksTheDevice() {
    QFETCH(QStringList, devices);
    QFETCH(Environment, environment);
    QFETCH(QStringList, expected);
    const PortNames names([devices] { return devices; },
                          [environment](const QString& name) { return environment.value(name); });
    for (int n = 1; n <= expected.size(); ++n) {
#ifdef Q_OS_WIN
        QCOMPARE(names.deviceName(n), QStringLiteral("COM%1").arg(n));
#else
        QCOMPARE(names.deviceName(n), expected.at(n - 1));
#endif
    }
}

void PortNamesTest::toolTipNamesTheDeviceOrSaysThereIsNone() {
    QCOMPARE(PortNames::toolTip(u"/dev/ttyUSB0"_qs), u"/dev/ttyUSB0"_qs);
    QCOMPARE(PortNames::toolTip(QString()), QString::fromUtf8("没有找到串口设备"));
}

QTEST_GUILESS_MAIN(PortNamesTest)
#include "tst_link_port_names.moc"
