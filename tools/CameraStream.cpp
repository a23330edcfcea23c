#include "CameraStream.h"

#include <QMetaObject>

#include "MjpegServer.h"
#include "PtyController.h"
#include "VirtualCamera.h"

template <typename Call>
void CameraStream::runThere(Call call) {
    QMetaObject::invokeMethod(m_camera, call, Qt::BlockingQueuedConnection);
}

CameraStream::CameraStream(const CameraOptions& options)
    : m_camera(new VirtualCamera(options, m_timeline)), m_server(new MjpegServer) {
    QObject::connect(m_camera, &VirtualCamera::captured, m_server, &MjpegServer::send);
    QObject::connect(m_camera, &VirtualCamera::ended, m_server, &MjpegServer::close);
    m_camera->moveToThread(&m_thread);
    m_server->moveToThread(&m_thread);
    QObject::connect(&m_thread, &QThread::finished, m_camera, &QObject::deleteLater);
    QObject::connect(&m_thread, &QThread::finished, m_server, &QObject::deleteLater);
    m_thread.setObjectName(QStringLiteral("virtual camera"));
    m_thread.start();
}

CameraStream::~CameraStream() {
    m_thread.quit();
    m_thread.wait();
}

void CameraStream::watch(PtyController& controller) {
    const ModuleSnapshot now = controller.model().moduleSnapshot();
    m_timeline->record(std::chrono::steady_clock::now(), controller.packetCount(), now.size,
                       now.lit);
    // Direct: recorded in the controller's thread as the packet is handled; the timeline
    // outlives neither side's use of it, being shared.
    QObject::connect(
        &controller, &PtyController::moduleChanged, &controller,
        [timeline = m_timeline](int packet, std::chrono::steady_clock::time_point arrived,
                                const ModuleSnapshot& module) {
            timeline->record(arrived, packet, module.size, module.lit);
        },
        Qt::DirectConnection);
}

bool CameraStream::start(quint16 port) {
    bool listening = false;
    runThere([this, port, &listening] {
        listening = m_server->listen(port);
        m_port = m_server->port();
        m_error = m_server->errorString();
        if (listening) {
            m_camera->start(VirtualCamera::Clock::now());
        }
    });
    return listening;
}

std::vector<ServedPicture> CameraStream::pictures() const {
    return m_camera->pictures();
}

void CameraStream::setReflection(std::optional<QPointF> at) {
    m_camera->setReflection(at);
}

void CameraStream::setNudge(QPointF pitches) {
    m_camera->setNudge(pitches);
}

void CameraStream::end() {
    runThere([this] { m_camera->end(); });
}

int CameraStream::clientCount() const {
    return m_server->clientCount();
}
