#pragma once

#include <optional>

// A place in a lattice of LEDs: column (0 = left) and row (0 = top).
struct LatticeCell {
    int column = 0;
    int row = 0;
    friend bool operator==(LatticeCell a, LatticeCell b) {
        return a.column == b.column && a.row == b.row;
    }
};

// How the module lies in the picture. The picture is taken to show the module's front; turning
// the picture clockwise by `turn` degrees and then, when `mirrored`, mirroring it left-right
// shows the module upright: row 1 at the top, column 1 at the left. Module cells are counted
// from 0 here (row 0 = row 1 of the grids).
// Example: with turn 90 and no mirror, a W x H module appears as H columns by W rows, and its
// top-left LED (row 0, column 0) is the picture lattice's bottom-left one, (0, W - 1).
class ModuleOrientation {
public:
    ModuleOrientation() = default;
    // The turn must be one of 0, 90, 180, 270: see fromDegrees.
    ModuleOrientation(int turnDegrees, bool mirrored);
    static std::optional<ModuleOrientation> fromDegrees(int turnDegrees, bool mirrored);

    int turnDegrees() const { return m_turn; }
    bool mirrored() const { return m_mirrored; }
    // Columns and rows of the lattice in the picture for a module of `width` x `height` LEDs
    // (as column = width of the result, row = height).
    LatticeCell pictureSize(int width, int height) const;
    // The module cell shown at picture lattice cell `at` of a module `width` x `height`.
    LatticeCell moduleCell(LatticeCell at, int width, int height) const;
    // The picture lattice cell showing module cell `cell`.
    LatticeCell pictureCell(LatticeCell cell, int width, int height) const;

private:
    int m_turn = 0;
    bool m_mirrored = false;
};
