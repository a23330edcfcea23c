#pragma once

#include "WizardContext.h"

// The click of Undo: on the row page takes back the last row pick (DataBufferP - 1), on the
// column page the last column pick (DataBufferP - 8); repaints that pick's cell as the grid's
// guide marks have it (guide or plain), and sends the page's test packet with the restored
// count. The word taken back keeps its value until the next pick overwrites it. On other
// pages, with no pick, or with a module width of 0, nothing happens. A port failure keeps the
// undo done and is reported with the port message.
class UndoPick {
public:
    explicit UndoPick(const WizardContext& context) : m_x(context) {}

    void onUndoClicked();

private:
    void undoRowPick();
    void undoColumnPick();

    WizardContext m_x;
};
