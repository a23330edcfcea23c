#include "PickPage.h"

#include "PickGridView.h"
#include "Twips.h"
#include "UiFonts.h"

PickPage::PickPage(PickGrid grid, const PassPicks& picks, QWidget* parent)
    : QGroupBox(grid == PickGrid::Rows ? tr("第3步 行选择") : tr("第4步 列选择"), parent) {
    m_grid = Twips::place(new PickGridView(grid, picks, this),
                          grid == PickGrid::Rows ? "HangGrid" : "LieGrid", 120, 200, 5775, 3500);
    m_grid->setFont(UiFonts::simSun(9));
}
