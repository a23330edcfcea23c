#include "session/MappingSession.h"

#include "core/Errors.h"
#include "core/PickValue.h"
#include "link/Link.h"
#include "mapfile/MapImageBuilder.h"
#include "mapfile/RepeatedPicks.h"
#include "session/Messages.h"
#include "session/Notifier.h"

using namespace MapLayout;
using WizardSteps::PickStep;
using WizardSteps::PolarityStep;

namespace {

constexpr int kPatternStateOne = 0x00;
constexpr int kPatternStateTwo = 0xFF;

// The rows of WizardSteps' tables, by position: the session keeps each row's state at the
// same position.
std::size_t rowOf(Page polarityPage) {
    return static_cast<std::size_t>(WizardSteps::polarityStep(polarityPage) -
                                    WizardSteps::kPolaritySteps.data());
}

std::size_t rowOf(PickGrid grid) {
    return static_cast<std::size_t>(&WizardSteps::pickStep(grid) - WizardSteps::kPickSteps.data());
}

}  // namespace

MappingSession::MappingSession(Link& link, Notifier& notifier, QObject* parent)
    : QObject(parent), m_link(link), m_notifier(notifier) {
    for (const PickStep& step : WizardSteps::kPickSteps) {
        m_held[rowOf(step.grid)].resize(step.limit);
    }
    for (const PolarityStep& step : WizardSteps::kPolaritySteps) {
        connect(&m_polarities[rowOf(step.page)].blink, &PolarityBlink::shown, this,
                [this, &step](Lit state) { onBlinkShown(step, state); });
    }
}

bool MappingSession::isEnabled(Control control) const {
    if (m_exchangeRunning) {
        return false;
    }
    switch (control) {
        case Control::Previous:
            return WizardSteps::before(m_page) != m_page;
        case Control::Next:
            return WizardSteps::after(m_page) != m_page;
        case Control::Complete:
            return m_page == Page::ColumnOrder;
        case Control::Download:
            return m_hasMap;
        default:
            return true;
    }
}

Lit MappingSession::choice(Page polarityPage) const {
    return WizardSteps::polarityStep(polarityPage) ? m_polarities[rowOf(polarityPage)].choice
                                                   : Lit::StateOne;
}

const PassPicks& MappingSession::picks(PickGrid grid) const {
    return m_passes[rowOf(grid)];
}

// What the test packet of the page in front carries: stride x the picks of its pass.
Int16 MappingSession::pickCounter() const {
    const PickStep* step = WizardSteps::pickStep(m_page);
    return step ? Int16(step->stride) * picks(step->grid).count() : Int16(0);
}

void MappingSession::next(const ParameterInput& parameters) {
    if (!isEnabled(Control::Next)) {
        return;
    }
    try {
        advance(parameters);
    } catch (const InputError& e) {
        m_notifier.showMessage(QString::fromUtf8(e.what()));
    } catch (const PortError&) {
        m_notifier.showMessage(Messages::portBusy());
    }
}

void MappingSession::advanceReportingFailures() {
    try {
        advance({});
    } catch (const PortError&) {
        m_notifier.showMessage(Messages::portBusy());
    }
}

// Leaving a page stores and sends its input; a failure there leaves the page in front.
void MappingSession::advance(const ParameterInput& parameters) {
    Q_EMIT statusHidden();
    if (m_page == Page::Parameters) {
        leaveParameters(parameters);
    } else if (const PolarityStep* step = WizardSteps::polarityStep(m_page)) {
        leavePolarity(*step);
    }
    show(WizardSteps::after(m_page));
}

void MappingSession::leaveParameters(const ParameterInput& parameters) {
    const ModuleParameters p = ModuleParameters::read(parameters);
    m_buffer.set(kWidth, p.width);
    m_buffer.set(kHeight, p.height);
    m_buffer.set(kColour, p.colour);
    m_buffer.set(kScanCount, p.scanCount);
    m_buffer.set(kRedGreen, p.redGreen);
    for (const PickStep& step : WizardSteps::kPickSteps) {
        m_held[rowOf(step.grid)].fill(false, step.limit);
    }
    send(Packets::cellTest(p.width, p.height, p.colour, p.scanCount));
}

void MappingSession::leavePolarity(const PolarityStep& step) {
    const int value =
        m_polarities[rowOf(step.page)].choice == Lit::StateOne ? 0 : step.stateTwoValue;
    m_buffer.set(step.word, value);
    send(step.choicePacket(value));
}

void MappingSession::previous() {
    if (!isEnabled(Control::Previous)) {
        return;
    }
    try {
        show(WizardSteps::before(m_page));
    } catch (const PortError&) {
        m_notifier.showMessage(Messages::portBusy());
    }
}

// Puts the session into the page's state. A failure to send leaves the page in front with
// what was set up before it.
void MappingSession::show(Page page) {
    m_page = page;
    Q_EMIT pageChanged(page);
    Q_EMIT controlsChanged();
    stopBlinksBut(page);
    if (const PolarityStep* step = WizardSteps::polarityStep(page)) {
        showPolarityPage(*step);
    } else if (const PickStep* pickStep = WizardSteps::pickStep(page)) {
        showPickPage(*pickStep);
    }
}

void MappingSession::stopBlinksBut(Page page) {
    for (const PolarityStep& step : WizardSteps::kPolaritySteps) {
        if (step.page != page) {
            m_polarities[rowOf(step.page)].blink.stop();
        }
    }
}

void MappingSession::showPolarityPage(const PolarityStep& step) {
    Polarity& state = m_polarities[rowOf(step.page)];
    state.choice = Lit::StateOne;
    Q_EMIT choiceChanged(step.page, Lit::StateOne);
    state.blink.start();
    if (step.laysOutGrids) {
        m_gridWidth = m_buffer.at(kWidth).value();
        m_gridHeight = m_buffer.at(kHeight).value();
        Q_EMIT gridsLaidOut(m_gridWidth, m_gridHeight);
    }
}

void MappingSession::showPickPage(const PickStep& step) {
    m_passes[rowOf(step.grid)].clear();
    Q_EMIT picksChanged(step.grid);
    sendPickCount(step);
}

void MappingSession::choose(Page polarityPage, Lit lit) {
    if (WizardSteps::polarityStep(polarityPage)) {
        m_polarities[rowOf(polarityPage)].choice = lit;
    }
}

void MappingSession::onBlinkShown(const PolarityStep& step, Lit state) {
    Q_EMIT blinkShown(step.page, state);
    const int pattern = state == Lit::StateOne ? kPatternStateOne : kPatternStateTwo;
    try {
        send(step.blinkPacket(pattern));
    } catch (const PortError&) {
        // The blink goes on; while its message is open, further failed ticks say nothing.
        if (m_blinkMessageOpen) {
            return;
        }
        m_blinkMessageOpen = true;
        m_notifier.showMessage(Messages::portBusy());
        m_blinkMessageOpen = false;
    }
}

bool MappingSession::insideGrid(int row, int col) const {
    return row >= 1 && row <= m_gridHeight && col >= 1 && col <= m_gridWidth;
}

// The pixel number a pick on the step's grid stores, or nothing when the click cannot be a
// pick: another page in front, an exchange running, a cell outside the module, a pass at its
// limit, or a pixel number that does not fit 16 bits.
std::optional<Int16> MappingSession::pickValue(const PickStep& step, int row, int col) const {
    if (m_page != step.page || !isEnabled(Control::Grids) || !insideGrid(row, col) ||
        picks(step.grid).count() >= step.limit) {
        return std::nullopt;
    }
    try {
        return PickValue::encode(row, col, m_buffer.at(kWidth));
    } catch (const OverflowError&) {
        return std::nullopt;
    }
}

void MappingSession::pick(PickGrid grid, int row, int col) {
    const PickStep& step = WizardSteps::pickStep(grid);
    const std::optional<Int16> value = pickValue(step, row, col);
    if (!value) {
        return;
    }
    PassPicks& made = m_passes[rowOf(grid)];
    m_buffer.set(step.firstWord + step.stride * made.count(), *value);
    m_held[rowOf(grid)].setBit(made.count());
    made.add(row, col);
    setPicksUnsaved(true);
    Q_EMIT picksChanged(grid);
    try {
        sendPickCount(step);
    } catch (const PortError&) {
        Q_EMIT pickNotSent();  // the pick stays; the page does not move on
        return;
    }
    if (step.endsAtScanCount && made.count() == scanCount()) {
        advanceReportingFailures();
    }
}

void MappingSession::undo() {
    const PickStep* step = WizardSteps::pickStep(m_page);
    if (!step || !isEnabled(Control::Undo) || picks(step->grid).count() == 0) {
        return;
    }
    // The word of the pick taken back keeps its value until the next pick overwrites it, but it
    // no longer counts as picked.
    PassPicks& made = m_passes[rowOf(step->grid)];
    made.removeLast();
    m_held[rowOf(step->grid)].clearBit(made.count());
    setPicksUnsaved(true);
    Q_EMIT picksChanged(step->grid);
    try {
        sendPickCount(*step);
    } catch (const PortError&) {
        m_notifier.showMessage(Messages::portBusy());
    }
}

void MappingSession::sendPickCount(const PickStep& step) {
    send(step.testPacket(pickCounter().value()));
}

void MappingSession::send(const QByteArray& packet) {
    m_link.sendPacket(packet);
}

void MappingSession::setPicksUnsaved(bool unsaved) {
    if (m_picksUnsaved != unsaved) {
        m_picksUnsaved = unsaved;
        Q_EMIT unsavedPicksChanged(unsaved);
    }
}

// The row addresses 0..S-1 that hold a pick.
int MappingSession::rowAddressesPicked() const {
    const QBitArray& rows = m_held[rowOf(PickGrid::Rows)];
    int picked = 0;
    for (int address = 0; address < std::min(scanCount(), int(rows.size())); ++address) {
        picked += rows.testBit(address) ? 1 : 0;
    }
    return picked;
}

MapImage MappingSession::buildMap() {
    const MapImageBuilder::Result built =
        MapImageBuilder::build(m_buffer, pickCounter(), rowAddressesPicked(), m_image);
    m_buffer.set(kColumnExtent, built.columnExtent);
    m_buffer.set(kOePolarity, built.oePolarityWord);
    m_image = built.image;
    return m_image;
}

void MappingSession::mapSaved() {
    setPicksUnsaved(false);
    m_hasMap = true;
    Q_EMIT controlsChanged();
}

QStringList MappingSession::repeatedPicks() const {
    return RepeatedPicks::find(m_buffer, pickCounter());
}

void MappingSession::mapOpened(const MapImage& image) {
    m_image = image;
    m_hasMap = true;
    Q_EMIT controlsChanged();
}

void MappingSession::choosePort(const QString& label, const QString& device) {
    m_link.choosePort(label, device);
}

void MappingSession::returnToParameters() {
    m_page = Page::Parameters;
    stopBlinksBut(m_page);
    Q_EMIT pageChanged(m_page);
    Q_EMIT controlsChanged();
}

void MappingSession::setExchangeRunning(bool running) {
    m_exchangeRunning = running;
    Q_EMIT controlsChanged();
}
