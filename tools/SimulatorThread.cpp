#include "SimulatorThread.h"

#include <QDeadlineTimer>
#include <QMetaObject>
#include <QMutexLocker>

#include "PtyController.h"

template <typename Call>
void SimulatorThread::runThere(Call call) const {
    QMetaObject::invokeMethod(m_controller, call, Qt::BlockingQueuedConnection);
}

SimulatorThread::SimulatorThread(const SimulatorFaults& faults, const QString& linkPath,
                                 const ModuleTruth& truth) {
    m_controller = new PtyController(linkPath);
    m_controller->model().setFaults(faults);
    m_controller->model().setModuleTruth(truth);
    // Direct: the line is recorded in the simulator's thread the moment it is written.
    QObject::connect(
        m_controller, &PtyController::logged, m_controller,
        [this](const QString& line) { append(line); }, Qt::DirectConnection);
    QObject::connect(
        m_controller, &PtyController::received, m_controller,
        [this](const QByteArray& packet) {
            QMutexLocker lock(&m_mutex);
            m_packets.append(packet);
        },
        Qt::DirectConnection);
    m_controller->moveToThread(&m_thread);
    QObject::connect(&m_thread, &QThread::finished, m_controller, &QObject::deleteLater);
    m_thread.start();
    runThere([this] {
        m_started = m_controller->start();
        m_error = m_controller->errorString();
    });
}

SimulatorThread::~SimulatorThread() {
    m_thread.quit();
    m_thread.wait();
}

QString SimulatorThread::devicePath() const {
    QString path;
    runThere([this, &path] { path = m_controller->devicePath(); });
    return path;
}

void SimulatorThread::setFaults(const SimulatorFaults& faults) {
    runThere([this, faults] { m_controller->model().setFaults(faults); });
}

void SimulatorThread::hangUp() {
    runThere([this] { m_controller->hangUp(); });
}

QByteArray SimulatorThread::image() const {
    QByteArray image;
    runThere([this, &image] { image = m_controller->model().image(); });
    return image;
}

ModuleSnapshot SimulatorThread::module() const {
    ModuleSnapshot snapshot;
    runThere([this, &snapshot] { snapshot = m_controller->model().moduleSnapshot(); });
    return snapshot;
}

QSet<QPoint> SimulatorThread::litLeds() const {
    return module().litLeds();
}

QSize SimulatorThread::moduleSize() const {
    return module().size;
}

QString SimulatorThread::moduleState() const {
    return module().state;
}

int SimulatorThread::outOfPlace() const {
    return module().outOfPlace;
}

bool SimulatorThread::startCamera(const CameraOptions& options, quint16 port) {
    m_camera = std::make_unique<CameraStream>(options);
    runThere([this] { m_camera->watch(*m_controller); });
    if (!m_camera->start(port)) {
        m_error = m_camera->errorString();
        return false;
    }
    return true;
}

void SimulatorThread::append(const QString& line) {
    const QMutexLocker lock(&m_mutex);
    m_log.append(line);
    m_logGrew.wakeAll();
}

QList<QByteArray> SimulatorThread::packets() const {
    QMutexLocker lock(&m_mutex);
    return m_packets;
}

QStringList SimulatorThread::log() const {
    const QMutexLocker lock(&m_mutex);
    return m_log;
}

bool SimulatorThread::waitForLog(const QString& text, std::chrono::milliseconds limit) {
    const QDeadlineTimer deadline(limit);
    QMutexLocker lock(&m_mutex);
    while (!m_log.join(QLatin1Char('\n')).contains(text)) {
        if (!m_logGrew.wait(&m_mutex, deadline)) {
            return false;
        }
    }
    return true;
}
