#pragma once

#include "WizardContext.h"

// The click of Undo: on the row page takes back the last row pick (DataBufferP - 1), on the
// column page the last column pick (DataBufferP - 8); repaints that pick's cell by what is still
// recorded for it (guide or plain when nothing), and sends the page's test packet with the restored
// count; a cell still picked by an earlier pick of this pass keeps its pick colour. The word
// taken back keeps its value until the next pick overwrites it. On other
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
