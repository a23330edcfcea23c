// Holds a serial device open from another process, the way a second program would, until its
// standard input closes. Prints "held" once the device is open, or "failed: <reason>".

#include <QCoreApplication>
#include <QSerialPort>
#include <QTextStream>
#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        return 2;
    }
    QSerialPort port(QString::fromLocal8Bit(argv[1]));
    QTextStream out(stdout);
    if (!port.open(QIODevice::ReadWrite)) {
        out << "failed: " << port.errorString() << Qt::endl;
        return 1;
    }
    out << "held" << Qt::endl;
    while (std::getchar() != EOF) {
    }
    return 0;
}
