#pragma once

// The pages of the mapping wizard, in the order the user walks them.
enum class Page {
    Parameters,       // the module's size and type, with the screen address beside them
    OePolarity,       // "第1步": which OE level lights the module
    DisplayPolarity,  // "第2步": which data level lights it
    RowOrder,         // "第3步": which LED each row address lights
    ColumnOrder,      // "第4步": which LEDs the chain's groups of 8 light
};

// The two test states of a polarity page ("1" and "2"), and the user's answer which of them
// lights the module ("1亮", "2亮").
enum class Lit { StateOne, StateTwo };

// The two pick grids: the row page's and the column page's.
enum class PickGrid { Rows, Columns };
