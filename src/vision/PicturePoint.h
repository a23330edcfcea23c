#pragma once

#include <cmath>

// A place in a picture in pixels, x to the right and y down, measured between pixel centres:
// (0, 0) is the centre of the top-left pixel and (2.5, 1) lies half-way between the centres of
// pixels (2, 1) and (3, 1). (Qt's painting coordinates put that first centre at (0.5, 0.5).)
struct PicturePoint {
    double x = 0;
    double y = 0;

    friend PicturePoint operator+(PicturePoint a, PicturePoint b) { return {a.x + b.x, a.y + b.y}; }
    friend PicturePoint operator-(PicturePoint a, PicturePoint b) { return {a.x - b.x, a.y - b.y}; }
    friend PicturePoint operator*(double k, PicturePoint a) { return {k * a.x, k * a.y}; }
    double length() const { return std::hypot(x, y); }
};
