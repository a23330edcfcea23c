#include "ui/CameraControl.h"

#include <QApplication>
#include <QComboBox>
#include <QSettings>
#include <QUrl>

#include "camera/CameraService.h"
#include "core/MapLayout.h"
#include "session/CameraWalk.h"
#include "session/MappingSession.h"
#include "ui/CameraWindow.h"

namespace {

const QString kSourceKey = QStringLiteral("camera/source");

// Where a source's rotation and mirror setting is kept: "turn mirrored confirmed".
QString orientationKey(const QString& source) {
    return QStringLiteral("camera-orientation/") +
           QString::fromLatin1(QUrl::toPercentEncoding(source));
}

}  // namespace

CameraControl::CameraControl(MappingSession& session, QWidget* mainWindow)
    : QObject(mainWindow), m_session(session), m_main(mainWindow) {}

CameraControl::~CameraControl() = default;

void CameraControl::start() {
    if (m_service) {
        return;
    }
    m_service = std::make_unique<CameraService>();
    m_walk = std::make_unique<CameraWalk>(m_session, *m_service);
    m_window = new CameraWindow(m_main);
    connectWalk();
    connect(&m_session, &MappingSession::gridsLaidOut, m_service.get(),
            [this](int width, int height) { m_service->setModule(QSize(width, height)); });
    const ScanMapBuffer& words = m_session.buffer();
    m_service->setModule(
        QSize(words.at(MapLayout::kWidth).value(), words.at(MapLayout::kHeight).value()));
    connect(m_window, &CameraWindow::sourceChosen, this, &CameraControl::useSource);
    connect(m_window, &CameraWindow::orientationChosen, this, &CameraControl::useOrientation);
    connect(m_window, &CameraWindow::startPressed, this, &CameraControl::toggleWalk);
    connect(m_window, &CameraWindow::pauseWanted, this, &CameraControl::pauseWalk);
}

void CameraControl::connectWalk() {
    connect(m_service.get(), &CameraService::readingReady, this,
            [this](const CameraReading& reading, const CameraSnapshot& snapshot) {
                m_walk->onReading(reading);
                m_window->showSnapshot(snapshot);
            });
    connect(m_service.get(), &CameraService::calibrated, m_walk.get(), &CameraWalk::onCalibrated);
    connect(m_service.get(), &CameraService::lost, this, [this](const QString& why) {
        m_walk->onCameraLost(why);
        m_window->showStatus(why, true);
    });
    connect(m_walk.get(), &CameraWalk::changed, this, &CameraControl::onWalkChanged);
    connect(m_walk.get(), &CameraWalk::wantsAttention, this, &CameraControl::callUser);
    connect(m_walk.get(), &CameraWalk::orientationConfirmed, this,
            &CameraControl::rememberConfirmed);
}

void CameraControl::showWindow() {
    start();
    QStringList sources;
    for (const CameraDescription& camera : m_service->cameras()) {
        sources << camera.description;
    }
    const QString last = QSettings().value(kSourceKey).toString();
    if (!last.isEmpty() && !sources.contains(last)) {
        sources << last;
    }
    m_window->setSources(sources, m_source.isEmpty() ? last : m_source);
    if (!m_window->isVisible()) {  // below the main window, the grids left in sight
        m_window->move(m_main->frameGeometry().bottomLeft() + QPoint(0, 8));
    }
    m_window->show();
    m_window->raise();
}

// The same source connected again after it was lost keeps its calibration and its lag: the walk
// goes on where it stopped, and a camera that moved meanwhile reads as moved.
void CameraControl::useSource(const QString& text) {
    start();
    const bool again = text == m_source && !m_service->isOpen();
    if (!again) {
        m_walk->forgetCamera();
    }
    QString why;
    if (!m_service->open(text, &why)) {
        m_window->showStatus(why, true);
        return;
    }
    if (again) {
        m_window->showStatus(m_walk->status(), false);
        return;
    }
    m_source = text;
    QSettings().setValue(kSourceKey, text);
    m_window->sourceBox()->setEditText(text);
    const QStringList kept =
        QSettings().value(orientationKey(text)).toString().split(QLatin1Char(' '));
    m_turn = kept.value(0).toInt();
    m_mirrored = kept.value(1) == QLatin1String("1");
    m_window->setOrientation(m_turn, m_mirrored);
    m_service->setOrientation(m_turn, m_mirrored);
    m_walk->setOrientationKnown(kept.value(2) == QLatin1String("1"));
    m_window->showStatus(m_walk->status(), false);
}

// A new setting ends the calibration and must be confirmed again at the next first pick.
void CameraControl::useOrientation(int turnDegrees, bool mirrored) {
    m_turn = turnDegrees;
    m_mirrored = mirrored;
    m_walk->forgetCalibration();
    m_walk->setOrientationKnown(false);
    m_service->setOrientation(turnDegrees, mirrored);
    QSettings().setValue(orientationKey(m_source),
                         QStringLiteral("%1 %2 0").arg(turnDegrees).arg(mirrored ? 1 : 0));
}

void CameraControl::rememberConfirmed() {
    QSettings().setValue(orientationKey(m_source),
                         QStringLiteral("%1 %2 1").arg(m_turn).arg(m_mirrored ? 1 : 0));
}

void CameraControl::toggleWalk() {
    showWindow();
    if (!m_service->isOpen()) {
        m_window->showStatus(
            tr("请先选择相机：在“来源”中选一个相机或输入 http:// 地址，按“连接”。"), true);
        return;
    }
    m_walk->isRunning() ? m_walk->pause() : m_walk->start();
}

void CameraControl::pauseWalk() {
    if (m_walk) {
        m_walk->pause();
    }
}

void CameraControl::onWalkChanged() {
    const bool needsUser = m_walk->state() == CameraWalk::State::Stopped ||
                           m_walk->state() == CameraWalk::State::Ready;
    m_window->showStatus(m_walk->status(), needsUser);
    m_window->setRunning(m_walk->isRunning());
    Q_EMIT marksChanged(m_walk->marked());
    Q_EMIT statusChanged(m_walk->status(), needsUser);
}

// The user watches the panel, not the laptop: the windows come forward and the program beeps.
void CameraControl::callUser() {
    m_main->raise();
    m_main->activateWindow();
    if (m_window->isVisible()) {
        m_window->raise();
    }
    QApplication::beep();
}
