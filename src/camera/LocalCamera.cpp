#include "camera/LocalCamera.h"

#include <QCameraDevice>

#include "camera/CameraFormatChoice.h"
#include "camera/GreyPlane.h"

LocalCamera::LocalCamera(const QByteArray& id, CameraListener& listener)
    : m_id(id), m_listener(listener) {
    m_greyThread.setObjectName(QStringLiteral("camera-grey"));
    m_session.setVideoSink(&m_sink);
    // Direct: Qt may emit from its own thread; only the box and an atomic are touched there.
    connect(&m_sink, &QVideoSink::videoFrameChanged, this, &LocalCamera::videoFrameArrived,
            Qt::DirectConnection);
    connect(&m_devices, &QMediaDevices::videoInputsChanged, this, &LocalCamera::checkStillPlugged);
}

LocalCamera::~LocalCamera() {
    stop();
}

void LocalCamera::start() {
    if (m_camera) {
        return;
    }
    ++m_run;
    if (!openCamera()) {
        return;
    }
    m_greyThread.start();
    auto context = std::make_unique<QObject>();
    context->moveToThread(&m_greyThread);
    {
        const QMutexLocker lock(&m_contextMutex);
        m_greyContext = std::move(context);
    }
    m_camera->start();
}

// The camera with the id, in the format chosen for it; a loss is posted when there is none.
bool LocalCamera::openCamera() {
    QCameraDevice device;
    for (const QCameraDevice& input : QMediaDevices::videoInputs()) {
        device = input.id() == m_id ? input : device;
    }
    if (device.isNull()) {
        failLater(m_run, tr("没有找到相机，请检查连接"));
        return false;
    }
    m_shownName = device.description();
    const QList<QCameraFormat> formats = device.videoFormats();
    QList<CameraFormatOffer> offers;
    for (const QCameraFormat& format : formats) {
        offers += {format.resolution(), format.maxFrameRate(), format.pixelFormat()};
    }
    const qsizetype chosen = CameraFormatChoice::choose(offers);
    if (!formats.isEmpty() && chosen < 0) {
        failLater(m_run, unreadableText());
        return false;
    }
    m_camera = std::make_unique<QCamera>(device);
    if (chosen >= 0) {
        m_camera->setCameraFormat(formats[chosen]);
    }
    const quint64 run = m_run;
    connect(m_camera.get(), &QCamera::errorOccurred, this, [this, run] {
        failLater(
            run, tr("相机 %1 无法使用，请检查连接，或关闭正在使用它的其他程序").arg(m_shownName));
    });
    m_session.setCamera(m_camera.get());
    return true;
}

void LocalCamera::stop() {
    if (!m_camera) {
        return;
    }
    m_camera->stop();
    m_session.setCamera(nullptr);
    m_camera.reset();
    std::unique_ptr<QObject> context;
    {
        const QMutexLocker lock(&m_contextMutex);
        context = std::move(m_greyContext);
    }
    m_greyThread.quit();
    m_greyThread.wait();
    context.reset();
    m_arrived.clear();
    m_ready.clear();
}

// In whichever thread Qt hands the frame over.
void LocalCamera::videoFrameArrived(const QVideoFrame& video) {
    if (!video.isValid()) {
        return;
    }
    const Arrival arrival{video, std::chrono::steady_clock::now(), m_nextSequence++};
    if (!m_arrived.put(arrival)) {
        return;
    }
    // Under the lock, stop() cannot take the grey thread's object away before the post.
    const QMutexLocker lock(&m_contextMutex);
    if (m_greyContext) {
        const quint64 run = m_run;
        QMetaObject::invokeMethod(
            m_greyContext.get(), [this, run] { readGrey(run); }, Qt::QueuedConnection);
    }
}

// In the grey thread.
void LocalCamera::readGrey(quint64 run) {
    std::optional<Arrival> arrival = m_arrived.take();
    if (!arrival) {
        return;
    }
    CameraFrame frame;
    frame.sequence = arrival->sequence;
    frame.arrived = arrival->arrived;
    if (!GreyPlane::read(arrival->video, frame)) {
        failLater(run, unreadableText());
        return;
    }
    if (m_ready.put(std::move(frame))) {
        QMetaObject::invokeMethod(this, &LocalCamera::deliver, Qt::QueuedConnection);
    }
}

void LocalCamera::deliver() {
    std::optional<CameraFrame> frame = m_ready.take();
    if (frame && m_camera) {
        m_listener.cameraFrame(*frame);
    }
}

// Posted, from any thread, so that cameraLost() never comes from inside start() or from a Qt
// signal's emission.
void LocalCamera::failLater(quint64 run, const QString& why) {
    QMetaObject::invokeMethod(
        this,
        [this, run, why] {
            if (run != m_run) {
                return;
            }
            ++m_run;
            stop();
            m_listener.cameraLost(why);
        },
        Qt::QueuedConnection);
}

void LocalCamera::checkStillPlugged() {
    if (!m_camera) {
        return;
    }
    for (const QCameraDevice& input : QMediaDevices::videoInputs()) {
        if (input.id() == m_id) {
            return;
        }
    }
    failLater(m_run, tr("相机 %1 已断开，请检查连接").arg(m_shownName));
}

QString LocalCamera::unreadableText() const {
    return tr("相机 %1 的画面格式本程序无法读取").arg(m_shownName);
}
