#pragma once

#include <QList>
#include <QObject>
#include <QPoint>
#include <QString>
#include <memory>

class CameraService;
class CameraWalk;
class CameraWindow;
class MappingSession;
class QWidget;

// The camera's part of the window: the camera service, the walk that answers the wizard with
// it, and the camera window, made at the first use (so a session without a camera never loads
// any of it). The source chosen is remembered, as is each source's rotation and mirror setting
// and whether the user has confirmed it at the walk's orientation stop.
class CameraControl : public QObject {
    Q_OBJECT
public:
    CameraControl(MappingSession& session, QWidget* mainWindow);
    ~CameraControl() override;

    // Ctrl+K, or the status bar's camera button: the camera window, with the source last used.
    void showWindow();
    // F5: starts the walk on the page in front, or pauses it.
    void toggleWalk();
    // Esc.
    void pauseWalk();
    // --camera SOURCE, or the window's chooser: the source to watch from now on.
    void useSource(const QString& text);

    CameraWalk* walk() const { return m_walk.get(); }
    CameraWindow* window() const { return m_window; }
    CameraService* service() const { return m_service.get(); }

Q_SIGNALS:
    // The grid cells the walk asks the user to look at; none to clear.
    void marksChanged(const QList<QPoint>& cells);
    // What the walk does or why it stopped, for the status bar; needsUser when it stopped.
    void statusChanged(const QString& text, bool needsUser);

private:
    void start();
    void connectWalk();
    void onWalkChanged();
    void callUser();
    void useOrientation(int turnDegrees, bool mirrored);
    void rememberConfirmed();

    MappingSession& m_session;
    QWidget* m_main;
    std::unique_ptr<CameraService> m_service;
    std::unique_ptr<CameraWalk> m_walk;
    CameraWindow* m_window = nullptr;
    QString m_source;
    int m_turn = 0;
    bool m_mirrored = false;
};
