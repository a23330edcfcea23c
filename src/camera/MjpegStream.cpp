#include "camera/MjpegStream.h"

#include <QThread>

namespace {

// The worker thread: its reader is made, runs and is destroyed in it. The sequence number the
// reader reached is read by the stream after wait(), when the thread has ended.
class ReaderThread : public QThread {
public:
    ReaderThread(const QUrl& url, MjpegTimeouts timeouts, qint64 firstSequence,
                 std::function<void(CameraFrame)> onPicture,
                 std::function<void(MjpegReader&)> onStart)
        : m_url(url),
          m_timeouts(timeouts),
          m_nextSequence(firstSequence),
          m_onPicture(std::move(onPicture)),
          m_onStart(std::move(onStart)) {
        setObjectName(QStringLiteral("camera-stream"));
    }

    qint64 nextSequence() const { return m_nextSequence; }

protected:
    void run() override {
        MjpegReader reader(m_url, m_timeouts, m_nextSequence, m_onPicture);
        m_onStart(reader);
        reader.start();
        exec();
        m_nextSequence = reader.nextSequence();
    }

private:
    QUrl m_url;
    MjpegTimeouts m_timeouts;
    qint64 m_nextSequence;
    std::function<void(CameraFrame)> m_onPicture;
    std::function<void(MjpegReader&)> m_onStart;
};

}  // namespace

MjpegStream::MjpegStream(const QUrl& url, MjpegTimeouts timeouts, QObject* parent)
    : PictureSource(parent), m_url(url), m_timeouts(timeouts) {}

MjpegStream::~MjpegStream() {
    stop();
}

void MjpegStream::start() {
    if (m_thread) {
        return;
    }
    const quint64 run = ++m_run;
    // The reader's failure comes here queued, tagged with its run.
    const auto onStart = [this, run](MjpegReader& reader) {
        connect(
            &reader, &MjpegReader::failed, this,
            [this, run](const QString& why) { readerFailed(run, why); }, Qt::QueuedConnection);
    };
    m_thread = std::make_unique<ReaderThread>(
        m_url, m_timeouts, m_nextSequence, [this](CameraFrame frame) { post(std::move(frame)); },
        onStart);
    m_thread->start();
}

void MjpegStream::stop() {
    if (!m_thread) {
        return;
    }
    m_thread->quit();
    m_thread->wait();
    m_nextSequence = static_cast<ReaderThread*>(m_thread.get())->nextSequence();
    m_thread.reset();
    m_waiting.clear();
}

// In the worker thread: the newest frame waits; the stream's thread is woken only when none
// was waiting, as the one wake-up takes whichever frame is newest by then.
void MjpegStream::post(CameraFrame frame) {
    if (m_waiting.put(std::move(frame))) {
        QMetaObject::invokeMethod(this, &MjpegStream::deliver, Qt::QueuedConnection);
    }
}

void MjpegStream::deliver() {
    std::optional<CameraFrame> frame = m_waiting.take();
    if (frame) {
        Q_EMIT frameArrived(*frame);
    }
}

void MjpegStream::readerFailed(quint64 run, const QString& why) {
    if (run != m_run || !m_thread) {
        return;
    }
    stop();
    Q_EMIT lost(why);
}
