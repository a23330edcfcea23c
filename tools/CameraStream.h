#pragma once

#include <QPointF>
#include <QString>
#include <QThread>
#include <memory>
#include <optional>
#include <vector>

#include "CameraOptions.h"
#include "ModuleTimeline.h"
#include "ServedPicture.h"

class MjpegServer;
class PtyController;
class VirtualCamera;

// The virtual camera and its Motion-JPEG server, running in a thread of their own. The
// controller feeds timeline() as packets arrive; everything else here is safe to call from any
// thread.
//
// Example: CameraStream stream(options); stream.start(0); then
// curl http://127.0.0.1:<stream.port()>/ receives the pictures.
class CameraStream {
public:
    explicit CameraStream(const CameraOptions& options);
    ~CameraStream();
    CameraStream(const CameraStream&) = delete;
    CameraStream& operator=(const CameraStream&) = delete;

    // Records the controller's module as it is now and after every packet from here on. Call
    // it in the controller's thread, before start().
    void watch(PtyController& controller);
    // Listens on 127.0.0.1:port (0: a free port) and starts filming; the options' times
    // count from here. False, with errorString(), when the port cannot be had.
    bool start(quint16 port);
    quint16 port() const { return m_port; }
    QString errorString() const { return m_error; }

    // What the camera films; the controller records every packet's effect here.
    std::shared_ptr<ModuleTimeline> timeline() const { return m_timeline; }
    // Every part served so far, oldest first (VirtualCamera::pictures()).
    std::vector<ServedPicture> pictures() const;
    // Run-time changes, seen in pictures captured a latency later (VirtualCamera).
    void setReflection(std::optional<QPointF> at);
    void setNudge(QPointF pitches);
    // The stream ends now: every connection is closed and no new one is taken (as
    // CameraOptions::endAfter does at its time).
    void end();
    // Connections receiving the stream now.
    int clientCount() const;

private:
    template <typename Call>
    void runThere(Call call);

    std::shared_ptr<ModuleTimeline> m_timeline = std::make_shared<ModuleTimeline>();
    QThread m_thread;
    VirtualCamera* m_camera = nullptr;
    MjpegServer* m_server = nullptr;
    quint16 m_port = 0;
    QString m_error;
};
