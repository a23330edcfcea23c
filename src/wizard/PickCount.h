#pragma once

struct WizardContext;

// The count of picks in the bottom row: "5/16" on the row page (picks made of the scan count),
// "8列" on the column page (column picks made); hidden on every other page.
namespace PickCount {
void show(const WizardContext& context);
}
