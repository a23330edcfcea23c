#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// A local camera as the system lists it: its id (stable while it stays plugged in) and the
// description shown to the user ("Integrated Camera: Integrated C").
struct CameraDescription {
    QByteArray id;
    QString description;
};
