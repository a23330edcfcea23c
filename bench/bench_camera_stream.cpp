// Prints what a Motion-JPEG stream costs through MjpegStream: pictures per second received, the
// delay from a picture's last byte leaving the server to frameArrived in the receiving thread
// (median and 90th percentile), and the CPU time per picture of everything but the server.
// The server is in this process, on 127.0.0.1, in a thread of its own: 1280 x 720 JPEGs at
// 30 a second for 6 seconds.
#include <QBuffer>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QMutex>
#include <QPainter>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <thread>
#include <vector>

#include "BenchUtil.h"
#include "camera/MjpegStream.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kPictures = 180;
constexpr auto kInterval = std::chrono::microseconds(33333);

double cpuMs(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// A 1280 x 720 picture with detail a camera's would have: gradients, lines and text.
QByteArray testJpeg() {
    QImage image(1280, 720, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 1280, 720);
    gradient.setColorAt(0, Qt::darkBlue);
    gradient.setColorAt(1, Qt::yellow);
    painter.fillRect(image.rect(), gradient);
    for (int i = 0; i < 64; ++i) {
        painter.setPen(QColor::fromHsv(i * 5 % 360, 200, 255));
        painter.drawLine(i * 20, 0, 1280 - i * 20, 720);
        painter.drawText(i * 19 % 1200, i * 11 % 700, QStringLiteral("LED %1").arg(i));
    }
    painter.end();
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 85);
    return jpeg;
}

// Serves one connection: the answer's head, then a part every kInterval; remembers when each
// part's last byte was handed to the system.
class Server : public QThread {
public:
    explicit Server(QByteArray jpeg) : m_jpeg(std::move(jpeg)) {
        setObjectName(QStringLiteral("bench-server"));
        m_server.listen(QHostAddress::LocalHost);
        m_server.moveToThread(this);
    }
    quint16 port() const { return m_server.serverPort(); }
    std::vector<Clock::time_point> sent;
    double cpu = 0;

protected:
    void run() override {
        if (!m_server.waitForNewConnection(5000)) {
            return;
        }
        std::unique_ptr<QTcpSocket> socket(m_server.nextPendingConnection());
        socket->waitForReadyRead(5000);
        socket->write(
            "HTTP/1.0 200 OK\r\nContent-Type: multipart/x-mixed-replace;boundary=f\r\n\r\n");
        const QByteArray part = "--f\r\nContent-Type: image/jpeg\r\nContent-Length: " +
                                QByteArray::number(m_jpeg.size()) + "\r\n\r\n" + m_jpeg + "\r\n";
        Clock::time_point next = Clock::now();
        for (int i = 0; i < kPictures && socket->state() == QAbstractSocket::ConnectedState; ++i) {
            std::this_thread::sleep_until(next);
            next += kInterval;
            socket->write(part);
            while (socket->bytesToWrite() > 0 && socket->waitForBytesWritten(1000)) {
            }
            sent.push_back(Clock::now());
        }
        cpu = cpuMs(CLOCK_THREAD_CPUTIME_ID);
    }

private:
    QByteArray m_jpeg;
    QTcpServer m_server;
};

double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[static_cast<size_t>(p * (values.size() - 1))];
}

}  // namespace

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    const QByteArray jpeg = testJpeg();
    Server server(jpeg);
    const quint16 port = server.port();
    server.start();
    MjpegStream stream(QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(port)));
    std::vector<std::pair<qint64, Clock::time_point>> received;
    QObject::connect(&stream, &PictureSource::frameArrived, &app, [&](const CameraFrame& f) {
        received.emplace_back(f.sequence, Clock::now());
    });
    QObject::connect(&stream, &PictureSource::lost, &app, [](const QString& why) {
        std::fprintf(stderr, "lost: %s\n", qPrintable(why));
    });
    QObject::connect(&server, &QThread::finished, &app,
                     [] { QTimer::singleShot(200, qApp, &QCoreApplication::quit); });
    const double cpuBefore = cpuMs(CLOCK_PROCESS_CPUTIME_ID);
    const Clock::time_point start = Clock::now();
    stream.start();
    QCoreApplication::exec();
    stream.stop();
    server.wait();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count() - 0.2;
    std::vector<double> delays;
    for (const auto& [sequence, at] : received) {
        if (sequence >= 1 && sequence <= static_cast<qint64>(server.sent.size())) {
            delays.push_back(
                std::chrono::duration<double, std::milli>(at - server.sent[sequence - 1]).count());
        }
    }
    const double cpu = cpuMs(CLOCK_PROCESS_CPUTIME_ID) - cpuBefore - server.cpu;
    std::fprintf(stderr, "Motion-JPEG stream: %d JPEGs of %lld bytes, 1280 x 720, at 30/s\n",
                 kPictures, static_cast<long long>(jpeg.size()));
    BenchUtil::report("camera stream: pictures received per second", received.size() / seconds,
                      "/s");
    BenchUtil::report("camera stream: pictures received of those sent", received.size(), "");
    BenchUtil::report("camera stream: delay to frameArrived, median", percentile(delays, 0.5),
                      "ms");
    BenchUtil::report("camera stream: delay to frameArrived, 90th pct", percentile(delays, 0.9),
                      "ms");
    BenchUtil::report("camera stream: CPU per picture, server left out",
                      cpu / std::max<size_t>(1, received.size()), "ms");
    return received.empty() ? 1 : 0;
}
