#pragma once

#include <QByteArray>
#include <array>

#include "core/MapLayout.h"
#include "link/Packets.h"
#include "session/Page.h"

// The wizard as data: the order of its pages, and what each polarity page and each pick page
// stores and sends. The mapping session walks these tables; a page's behaviour is its row.
namespace WizardSteps {

// The pages in the order the user walks them: next() moves one place on, previous() one back.
inline constexpr std::array<Page, 5> kPageOrder = {
    Page::Parameters, Page::OePolarity, Page::DisplayPolarity, Page::RowOrder, Page::ColumnOrder,
};

// A polarity page: the module blinks between test state "1" (pattern 00) and state "2" (pattern
// FF); the user says in which it lights. Leaving the page stores the answer in `word` (0 for
// "1亮", `stateTwoValue` for "2亮") and sends it with `choicePacket`.
struct PolarityStep {
    Page page;
    int word;
    int stateTwoValue;
    QByteArray (*blinkPacket)(long long pattern);
    QByteArray (*choicePacket)(long long polarity);
    // Showing this page lays out both pick grids for the module's size.
    bool laysOutGrids;
};

inline const std::array<PolarityStep, 2> kPolaritySteps = {{
    {Page::OePolarity, MapLayout::kOePolarity, 1, Packets::oeBlink, Packets::oeTest, true},
    {Page::DisplayPolarity, MapLayout::kDisplayPolarity, 255, Packets::disTest, Packets::disTest,
     false},
}};

// A pick page: pick k (from 0) of a pass is stored in word firstWord + stride * k, and the test
// packet then carries stride * (k + 1), the counter the controller shows the next LED for.
// A pass holds at most `limit` picks, so that no pick's word lies past the buffer's end. When
// `endsAtScanCount`, the pick that brings the pass to the scan count moves the wizard on as
// "下一步" does.
struct PickStep {
    PickGrid grid;
    Page page;
    int firstWord;
    int stride;
    QByteArray (*testPacket)(long long counter);
    int limit;
    bool endsAtScanCount;
};

inline const std::array<PickStep, 2> kPickSteps = {{
    {PickGrid::Rows, Page::RowOrder, MapLayout::kRowPicksAt, 1, Packets::hangTest,
     MapLayout::kBufferWords - MapLayout::kRowPicksAt, true},
    {PickGrid::Columns, Page::ColumnOrder, MapLayout::kColumnPicksAt, MapLayout::kColumnPickStride,
     Packets::lieTest, MapLayout::kMaxColumnEntries, false},
}};

// The page one place on or back; the page itself at either end.
Page after(Page page);
Page before(Page page);
// The row of a polarity or pick page; nullptr for a page of another kind.
const PolarityStep* polarityStep(Page page);
const PickStep* pickStep(Page page);
const PickStep& pickStep(PickGrid grid);

}  // namespace WizardSteps
