#include "session/WizardSteps.h"

#include <algorithm>

namespace {

std::size_t positionOf(Page page) {
    const auto* found =
        std::find(WizardSteps::kPageOrder.begin(), WizardSteps::kPageOrder.end(), page);
    return static_cast<std::size_t>(found - WizardSteps::kPageOrder.begin());
}

template <typename Step, std::size_t N, typename Key, typename Member>
const Step* rowOf(const std::array<Step, N>& table, Member member, Key key) {
    const auto* found = std::find_if(table.begin(), table.end(),
                                     [&](const Step& step) { return step.*member == key; });
    return found == table.end() ? nullptr : found;
}

}  // namespace

Page WizardSteps::after(Page page) {
    const std::size_t at = positionOf(page);
    return at + 1 < kPageOrder.size() ? kPageOrder[at + 1] : page;
}

Page WizardSteps::before(Page page) {
    const std::size_t at = positionOf(page);
    return at > 0 ? kPageOrder[at - 1] : page;
}

const WizardSteps::PolarityStep* WizardSteps::polarityStep(Page page) {
    return rowOf(kPolaritySteps, &PolarityStep::page, page);
}

const WizardSteps::PickStep* WizardSteps::pickStep(Page page) {
    return rowOf(kPickSteps, &PickStep::page, page);
}

const WizardSteps::PickStep& WizardSteps::pickStep(PickGrid grid) {
    return *rowOf(kPickSteps, &PickStep::grid, grid);
}
