#pragma once

#include <QUrl>
#include <memory>

#include "camera/LatestOnly.h"
#include "camera/MjpegReader.h"
#include "camera/PictureSource.h"

class QThread;

// A Motion-JPEG stream over HTTP, http://host:port/path, read in a thread of its own named
// "camera-stream" (an MjpegReader there). Frames carry the JPEG still encoded.
//
// The stream answers its own time-outs: no first byte within timeouts.firstByte (5 s) of
// start(), or no complete picture for timeouts.picture (3 s), is lost(), as are a refused
// connection, an unknown host, an answer other than 200, an answer that is not
// multipart/x-mixed-replace, and a stream the parser refuses.
//
// Lives in the thread that creates it (the window's); its signals come in that thread. A frame
// waiting to be delivered is replaced by a newer one, so a slow receiver never has more than one
// waiting. stop() ends the worker thread before it returns (a few milliseconds: the reader never
// blocks); destroying the stream stops it. Sequence numbers go on increasing across restarts.
class MjpegStream : public PictureSource {
    Q_OBJECT
public:
    explicit MjpegStream(const QUrl& url, MjpegTimeouts timeouts = MjpegTimeouts(),
                         QObject* parent = nullptr);
    ~MjpegStream() override;

    void start() override;
    void stop() override;
    bool isRunning() const { return m_thread != nullptr; }

    // Pictures that arrived but were replaced by a newer one before this thread took them.
    qint64 replacedCount() const { return m_waiting.replacedCount(); }

private:
    void post(CameraFrame frame);
    void deliver();
    void readerFailed(quint64 run, const QString& why);

    QUrl m_url;
    MjpegTimeouts m_timeouts;
    std::unique_ptr<QThread> m_thread;
    LatestOnly<CameraFrame> m_waiting;
    qint64 m_nextSequence = 1;
    quint64 m_run = 0;  // counts start()s, so that a failure of a stopped run is ignored
};
