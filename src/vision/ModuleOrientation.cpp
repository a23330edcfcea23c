#include "vision/ModuleOrientation.h"

#include <cassert>

ModuleOrientation::ModuleOrientation(int turnDegrees, bool mirrored)
    : m_turn(turnDegrees), m_mirrored(mirrored) {
    assert(fromDegrees(turnDegrees, mirrored));
}

std::optional<ModuleOrientation> ModuleOrientation::fromDegrees(int turnDegrees, bool mirrored) {
    if (turnDegrees != 0 && turnDegrees != 90 && turnDegrees != 180 && turnDegrees != 270) {
        return std::nullopt;
    }
    ModuleOrientation o;
    o.m_turn = turnDegrees;
    o.m_mirrored = mirrored;
    return o;
}

LatticeCell ModuleOrientation::pictureSize(int width, int height) const {
    if (m_turn == 90 || m_turn == 270) {
        return {height, width};
    }
    return {width, height};
}

// A clockwise quarter turn takes cell (c, r) of a lattice C columns wide and R rows high to
// (R - 1 - r, c) of the turned lattice, R columns wide and C rows high.
LatticeCell ModuleOrientation::moduleCell(LatticeCell at, int width, int height) const {
    const LatticeCell size = pictureSize(width, height);
    const int cols = size.column;
    const int rows = size.row;
    LatticeCell turned = at;
    switch (m_turn) {
        case 90:
            turned = {rows - 1 - at.row, at.column};
            break;
        case 180:
            turned = {cols - 1 - at.column, rows - 1 - at.row};
            break;
        case 270:
            turned = {at.row, cols - 1 - at.column};
            break;
        default:
            break;
    }
    if (m_mirrored) {
        turned.column = width - 1 - turned.column;
    }
    return turned;
}

LatticeCell ModuleOrientation::pictureCell(LatticeCell cell, int width, int height) const {
    const LatticeCell size = pictureSize(width, height);
    const int cols = size.column;
    const int rows = size.row;
    LatticeCell upright = cell;
    if (m_mirrored) {
        upright.column = width - 1 - upright.column;
    }
    switch (m_turn) {
        case 90:
            return {upright.row, rows - 1 - upright.column};
        case 180:
            return {cols - 1 - upright.column, rows - 1 - upright.row};
        case 270:
            return {cols - 1 - upright.row, upright.column};
        default:
            return upright;
    }
}
