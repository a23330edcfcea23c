#include "ui/PickPage.h"

#include "ui/PickGridView.h"
#include "ui/Twips.h"
#include "ui/UiFonts.h"

PickPage::PickPage(PickGrid grid, const PassPicks& picks, QWidget* parent)
    : QGroupBox(grid == PickGrid::Rows ? tr("第3步 行选择") : tr("第4步 列选择"), parent) {
    // Below the whole caption, whose line is taller than the 9-point characters themselves.
    m_grid = Twips::place(new PickGridView(grid, picks, this),
                          grid == PickGrid::Rows ? "HangGrid" : "LieGrid", 120, 300, 5775, 3400);
    Twips::follow(m_grid, Twips::Follow::Grows);
    m_grid->setFont(UiFonts::simSun(9));
}

void PickPage::resizeEvent(QResizeEvent* event) {
    QGroupBox::resizeEvent(event);
    Twips::layOut(this, size() - Twips::toPixels(Twips::geometry(this), logicalDpiX()).size());
}
