#include <QtTest>

#include "PortNames.h"

namespace {
using Environment = QMap<QString, QString>;

PortNames namesOver(const QStringList& devices, const Environment& environment) {
    return PortNames([devices] { return devices; },
                     [environment](const QString& name) { return environment.value(name); });
}

const QStringList kMixedDevices = {
    QStringLiteral("/dev/ttyS1"),   QStringLiteral("/dev/ttyUSB10"), QStringLiteral("/dev/ttyS0"),
    QStringLiteral("/dev/ttyACM0"), QStringLiteral("/dev/ttyUSB2"),  QStringLiteral("/dev/ttyAMA0"),
};
}  // namespace

class PortNamesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void usbAdaptersComeFirstThenTheOthersInNameOrder();
    void macAdaptersComeBeforeBuiltInPorts();
    void numberPicksTheDevice_data();
    void numberPicksTheDevice();
    void toolTipNamesTheDeviceOrSaysThereIsNone();
};

void PortNamesTest::usbAdaptersComeFirstThenTheOthersInNameOrder() {
    QCOMPARE(PortNames::ordered(kMixedDevices),
             (QStringList{QStringLiteral("/dev/ttyACM0"), QStringLiteral("/dev/ttyUSB2"),
                          QStringLiteral("/dev/ttyUSB10"), QStringLiteral("/dev/ttyAMA0"),
                          QStringLiteral("/dev/ttyS0"), QStringLiteral("/dev/ttyS1")}));
}

void PortNamesTest::macAdaptersComeBeforeBuiltInPorts() {
    const QStringList devices = {QStringLiteral("/dev/cu.Bluetooth-Incoming-Port"),
                                 QStringLiteral("/dev/cu.usbserial-A1"),
                                 QStringLiteral("/dev/cu.usbserial-110")};
    QCOMPARE(PortNames::ordered(devices),
             (QStringList{QStringLiteral("/dev/cu.usbserial-110"),
                          QStringLiteral("/dev/cu.usbserial-A1"),
                          QStringLiteral("/dev/cu.Bluetooth-Incoming-Port")}));
}

void PortNamesTest::numberPicksTheDevice_data() {
    QTest::addColumn<QStringList>("devices");
    QTest::addColumn<Environment>("environment");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("expected");
    const Environment none;
    const Environment com2 = {{QStringLiteral("LUMOTRIX_COM2"), QStringLiteral("/tmp/sim-com2")}};
    const Environment empty = {{QStringLiteral("LUMOTRIX_COM1"), QString()}};
    QTest::newRow("COM1 is the first USB adapter")
        << kMixedDevices << none << 1 << QStringLiteral("/dev/ttyACM0");
    QTest::newRow("COM4 is the first of the others")
        << kMixedDevices << none << 4 << QStringLiteral("/dev/ttyAMA0");
    QTest::newRow("beyond the list there is no device") << kMixedDevices << none << 7 << QString();
    QTest::newRow("no devices at all") << QStringList{} << none << 1 << QString();
    QTest::newRow("variable wins over the list")
        << kMixedDevices << com2 << 2 << QStringLiteral("/tmp/sim-com2");
    QTest::newRow("variable works without any device")
        << QStringList{} << com2 << 2 << QStringLiteral("/tmp/sim-com2");
    QTest::newRow("variable for another number changes nothing")
        << kMixedDevices << com2 << 1 << QStringLiteral("/dev/ttyACM0");
    QTest::newRow("empty variable counts as unset")
        << kMixedDevices << empty << 1 << QStringLiteral("/dev/ttyACM0");
}

void PortNamesTest::numberPicksTheDevice() {
    QFETCH(QStringList, devices);
    QFETCH(Environment, environment);
    QFETCH(int, number);
    QFETCH(QString, expected);
#ifdef Q_OS_WIN
    QCOMPARE(namesOver(devices, environment).deviceName(number),
             QStringLiteral("COM%1").arg(number));
#else
    QCOMPARE(namesOver(devices, environment).deviceName(number), expected);
#endif
}

void PortNamesTest::toolTipNamesTheDeviceOrSaysThereIsNone() {
    QCOMPARE(PortNames::toolTip(QStringLiteral("/dev/ttyUSB0")), QStringLiteral("/dev/ttyUSB0"));
    QCOMPARE(PortNames::toolTip(QString()), QStringLiteral("没有找到串口设备"));
}

QTEST_GUILESS_MAIN(PortNamesTest)
#include "tst_link_port_names.moc"
