#include "camera/CameraService.h"

#include "camera/FrameReader.h"
#include "camera/MjpegStream.h"
#include "camera/PictureSource.h"
#include "camera/SourceChoice.h"

CameraService::CameraService(QObject* parent) : QObject(parent) {
    qRegisterMetaType<CameraReading>();
    qRegisterMetaType<CameraSnapshot>();
    qRegisterMetaType<CameraFrame>();
    m_thread.setObjectName(QStringLiteral("camera-reader"));
    m_reader = new FrameReader;
    m_reader->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_reader, &QObject::deleteLater);
    connect(m_reader, &FrameReader::readingReady, this, &CameraService::readingReady);
    connect(m_reader, &FrameReader::calibrated, this, &CameraService::calibrated);
    m_thread.start();
}

CameraService::~CameraService() {
    close();
    m_thread.quit();
    m_thread.wait();
}

QList<CameraDescription> CameraService::cameras() {
    return m_local.cameras();
}

bool CameraService::open(const QString& text, QString* why) {
    close();
    const SourceChoice choice = SourceChoice::fromText(
        text, text.startsWith(QLatin1String("http")) ? QList<CameraDescription>{} : cameras());
    switch (choice.kind()) {
        case SourceChoice::Kind::Stream:
            m_source = new MjpegStream(choice.url(), MjpegTimeouts(), this);
            break;
        case SourceChoice::Kind::Local:
            m_source = m_local.open(cameras().at(choice.cameraIndex()).id, this);
            break;
        case SourceChoice::Kind::Refused:
            *why = choice.refusal();
            return false;
    }
    if (!m_source) {
        *why = m_local.unavailableReason();
        return false;
    }
    connect(m_source, &PictureSource::frameArrived, this, &CameraService::offer);
    connect(m_source, &PictureSource::lost, this, [this](const QString& reason) {
        close();
        Q_EMIT lost(reason);
    });
    m_source->start();
    return true;
}

void CameraService::close() {
    if (m_source) {
        m_source->stop();
        m_source->deleteLater();
        m_source = nullptr;
    }
    m_latest.clear();
}

// The reader is woken once per picture put in an empty box; a picture that comes before it took
// the last one replaces that one.
void CameraService::offer(const CameraFrame& frame) {
    if (!m_latest.put(frame)) {
        return;
    }
    QMetaObject::invokeMethod(
        m_reader,
        [this] {
            if (const std::optional<CameraFrame> newest = m_latest.take()) {
                m_reader->read(*newest);
            }
        },
        Qt::QueuedConnection);
}

void CameraService::setModule(QSize leds) {
    QMetaObject::invokeMethod(
        m_reader, [this, leds] { m_reader->setModule(leds); }, Qt::QueuedConnection);
}

void CameraService::setOrientation(int turnDegrees, bool mirrored) {
    QMetaObject::invokeMethod(
        m_reader,
        [this, turnDegrees, mirrored] { m_reader->setOrientation(turnDegrees, mirrored); },
        Qt::QueuedConnection);
}

void CameraService::calibrate(qint64 darkFrame, qint64 litFrame) {
    QMetaObject::invokeMethod(
        m_reader, [this, darkFrame, litFrame] { m_reader->calibrate(darkFrame, litFrame); },
        Qt::QueuedConnection);
}
