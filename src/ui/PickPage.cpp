#include "ui/PickPage.h"

#include "ui/PickGridView.h"
#include "ui/Twips.h"
#include "ui/UiFonts.h"

namespace {

// How each pick page looks: its caption and the object names of the page and its grid.
struct Look {
    PickGrid grid;
    const char* caption;
    const char* frameName;
    const char* gridName;
};

const Look kLooks[] = {
    {PickGrid::Rows, QT_TRANSLATE_NOOP("PickPage", "第3步 行选择"), "HangFrame", "HangGrid"},
    {PickGrid::Columns, QT_TRANSLATE_NOOP("PickPage", "第4步 列选择"), "LieFrame", "LieGrid"},
};

const Look& lookOf(PickGrid grid) {
    return *std::find_if(std::begin(kLooks), std::end(kLooks),
                         [grid](const Look& look) { return look.grid == grid; });
}

}  // namespace

PickPage::PickPage(PickGrid grid, const PassPicks& picks, QWidget* parent)
    : QGroupBox(tr(lookOf(grid).caption), parent), m_frameName(lookOf(grid).frameName) {
    // Below the whole caption, whose line is taller than the 9-point characters themselves.
    m_grid = Twips::place(new PickGridView(grid, picks, this), lookOf(grid).gridName, 120, 300,
                          5775, 3400);
    Twips::follow(m_grid, Twips::Follow::Grows);
    m_grid->setFont(UiFonts::simSun(9));
}

void PickPage::resizeEvent(QResizeEvent* event) {
    QGroupBox::resizeEvent(event);
    Twips::layOut(this, size() - Twips::toPixels(Twips::geometry(this), logicalDpiX()).size());
}
