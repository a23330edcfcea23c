#pragma once

#include <QObject>
#include <QString>

#include "camera/CameraFrame.h"

// Where pictures come from: a Motion-JPEG stream or a local camera. start() begins (again, after
// stop() or lost()); stop() ends it and returns once no further signal will come. Both are
// called from the thread the source lives in, and the signals are emitted in that thread.
//
// frameArrived comes with the newest picture only: a receiver that is slow never has more than
// one picture waiting for it, and the gaps in the sequence numbers show what it missed. lost
// comes once, with a sentence for the user saying what happened; the source has then stopped.
class PictureSource : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    virtual void start() = 0;
    virtual void stop() = 0;

Q_SIGNALS:
    void frameArrived(const CameraFrame& frame);
    void lost(const QString& why);
};
