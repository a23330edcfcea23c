#pragma once

#include <QCoreApplication>
#include <QList>
#include <QUrl>

#include "camera/CameraDescription.h"

// The picture source a user names: an http:// address of a Motion-JPEG stream, or a local
// camera by its number in the list (from 1) or by its name. With cameras
// {"USB Camera", "Integrated Camera"}: "2", "integrated camera" and "Integrated" choose the
// second; "http://10.0.0.5:8080/video" a stream; "https://..." is refused (no TLS here).
class SourceChoice {
    Q_DECLARE_TR_FUNCTIONS(SourceChoice)
public:
    enum class Kind { Refused, Stream, Local };

    static SourceChoice fromText(const QString& text, const QList<CameraDescription>& cameras);

    // The cameras as `lumotrix --list-cameras` prints them: one line each, its number from 1, two
    // spaces, its description. Empty for no camera.
    static QString listText(const QList<CameraDescription>& cameras);

    Kind kind() const { return m_kind; }
    QUrl url() const { return m_url; }                 // for Stream
    qsizetype cameraIndex() const { return m_index; }  // for Local, into the list given
    QString refusal() const { return m_refusal; }      // for Refused, in the program's language

private:
    static SourceChoice refused(const QString& why);
    static SourceChoice fromAddress(const QString& text);
    static SourceChoice fromNumber(const QString& text, qsizetype count);
    static SourceChoice fromName(const QString& text, const QList<CameraDescription>& cameras);

    Kind m_kind = Kind::Refused;
    QUrl m_url;
    qsizetype m_index = -1;
    QString m_refusal;
};
