#pragma once

#include <QSize>
#include <QtGlobal>
#include <vector>

// The room around the module, on the module's plane: a wall with a faint texture, pictures and
// shelves on it, a room corner, a skirting board and a planked floor, placed by the seed. It
// never repeats, so a camera that moves shows it moving.
//
// Coordinates are LED units as CameraGeometry's module plane; the module itself is drawn over
// it. The same seed gives the same room on every platform.
class RoomTexture {
public:
    RoomTexture(quint32 seed, QSize leds);

    // The share of the room light the room reflects at (x, y): 0 .. 1.
    float reflectanceAt(double x, double y) const;

private:
    struct Panel {
        double left = 0, top = 0, right = 0, bottom = 0;
        float tone = 0;
        float frameTone = 0;
        double frameWidth = 0;
    };

    float wallAt(double x, double y) const;
    float floorAt(double x, double y) const;
    float valueNoise(double x, double y, quint32 salt) const;
    double random(quint32 salt) const;

    quint32 m_seed = 0;
    // The seed mixed once, for the lattice values of the texture.
    quint32 m_latticeKey = 0;
    // The room's measure: the module's larger extent, in pitches.
    double m_unit = 1;
    double m_centreX = 0;
    double m_centreY = 0;
    double m_floorY = 0;
    double m_cornerX = 0;
    std::vector<Panel> m_panels;
};
