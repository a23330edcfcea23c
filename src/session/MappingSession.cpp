#include "session/MappingSession.h"

#include "core/Errors.h"
#include "core/PickValue.h"
#include "link/Link.h"
#include "link/Packets.h"
#include "mapfile/MapImageBuilder.h"
#include "mapfile/RepeatedPicks.h"
#include "session/Messages.h"
#include "session/Notifier.h"

using namespace MapLayout;

namespace {

constexpr int kPatternStateOne = 0x00;
constexpr int kPatternStateTwo = 0xFF;

Page nextPage(Page page) {
    return page == Page::Parameters        ? Page::OePolarity
           : page == Page::OePolarity      ? Page::DisplayPolarity
           : page == Page::DisplayPolarity ? Page::RowOrder
                                           : Page::ColumnOrder;
}

Page previousPage(Page page) {
    return page == Page::ColumnOrder       ? Page::RowOrder
           : page == Page::RowOrder        ? Page::DisplayPolarity
           : page == Page::DisplayPolarity ? Page::OePolarity
                                           : Page::Parameters;
}

}  // namespace

MappingSession::MappingSession(Link& link, Notifier& notifier, QObject* parent)
    : QObject(parent), m_link(link), m_notifier(notifier) {
    connect(&m_oeBlink, &PolarityBlink::shown, this,
            [this](Lit state) { onBlinkShown(Page::OePolarity, state); });
    connect(&m_displayBlink, &PolarityBlink::shown, this,
            [this](Lit state) { onBlinkShown(Page::DisplayPolarity, state); });
}

bool MappingSession::isEnabled(Control control) const {
    if (m_exchangeRunning) {
        return false;
    }
    switch (control) {
        case Control::Previous:
            return m_page != Page::Parameters;
        case Control::Next:
            return m_page != Page::ColumnOrder;
        case Control::Complete:
            return m_page == Page::ColumnOrder;
        case Control::Download:
            return m_hasMap;
        default:
            return true;
    }
}

Lit MappingSession::choice(Page polarityPage) const {
    return polarityPage == Page::OePolarity ? m_oeChoice : m_displayChoice;
}

const PassPicks& MappingSession::picks(PickGrid grid) const {
    return grid == PickGrid::Rows ? m_rowPicks : m_columnPicks;
}

PassPicks& MappingSession::pass(PickGrid grid) {
    return grid == PickGrid::Rows ? m_rowPicks : m_columnPicks;
}

// What the test packets of the pick pages carry: the row picks, or 8 x the column picks.
Int16 MappingSession::pickCounter() const {
    if (m_page == Page::RowOrder) {
        return m_rowPicks.count();
    }
    return m_page == Page::ColumnOrder ? kColumnPickStride * m_columnPicks.count() : 0;
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
    switch (m_page) {
        case Page::Parameters:
            leaveParameters(parameters);
            break;
        case Page::OePolarity:
        case Page::DisplayPolarity:
            leavePolarity(m_page);
            break;
        case Page::RowOrder:
            break;
        case Page::ColumnOrder:
            return;
    }
    show(nextPage(m_page));
}

void MappingSession::leaveParameters(const ParameterInput& parameters) {
    const ModuleParameters p = ModuleParameters::read(parameters);
    m_buffer.set(kWidth, p.width);
    m_buffer.set(kHeight, p.height);
    m_buffer.set(kColour, p.colour);
    m_buffer.set(kScanCount, p.scanCount);
    m_buffer.set(kRedGreen, p.redGreen);
    send(Packets::cellTest(p.width, p.height, p.colour, p.scanCount));
}

void MappingSession::leavePolarity(Page page) {
    const bool stateOne = choice(page) == Lit::StateOne;
    if (page == Page::OePolarity) {
        const int polarity = stateOne ? 0 : 1;
        m_buffer.set(kOePolarity, polarity);
        send(Packets::oeTest(polarity));
    } else {
        const int polarity = stateOne ? 0 : 255;
        m_buffer.set(kDisplayPolarity, polarity);
        send(Packets::disTest(polarity));
    }
}

void MappingSession::previous() {
    if (!isEnabled(Control::Previous)) {
        return;
    }
    try {
        show(previousPage(m_page));
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
    switch (page) {
        case Page::Parameters:
            m_oeBlink.stop();
            m_displayBlink.stop();
            return;
        case Page::OePolarity:
        case Page::DisplayPolarity:
            return showPolarityPage(page);
        case Page::RowOrder:
            m_oeBlink.stop();
            m_displayBlink.stop();
            return showPickPage(PickGrid::Rows);
        case Page::ColumnOrder:
            return showPickPage(PickGrid::Columns);
    }
}

void MappingSession::showPolarityPage(Page page) {
    const bool oe = page == Page::OePolarity;
    (oe ? m_displayBlink : m_oeBlink).stop();
    (oe ? m_oeChoice : m_displayChoice) = Lit::StateOne;
    Q_EMIT choiceChanged(page, Lit::StateOne);
    (oe ? m_oeBlink : m_displayBlink).start();
    if (oe) {
        m_gridWidth = m_buffer.at(kWidth).value();
        m_gridHeight = m_buffer.at(kHeight).value();
        Q_EMIT gridsLaidOut(m_gridWidth, m_gridHeight);
    }
}

void MappingSession::showPickPage(PickGrid grid) {
    pass(grid).clear();
    Q_EMIT picksChanged(grid);
    sendPickCount(grid);
}

void MappingSession::choose(Page polarityPage, Lit lit) {
    (polarityPage == Page::OePolarity ? m_oeChoice : m_displayChoice) = lit;
}

void MappingSession::onBlinkShown(Page page, Lit state) {
    Q_EMIT blinkShown(page, state);
    const int pattern = state == Lit::StateOne ? kPatternStateOne : kPatternStateTwo;
    try {
        send(page == Page::OePolarity ? Packets::oeBlink(pattern) : Packets::disTest(pattern));
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

// The pixel number a click on the page's grid stores, or nothing when the click cannot be a
// pick: another page in front, an exchange running, a cell outside the module, or a pixel
// number that does not fit 16 bits.
std::optional<Int16> MappingSession::pickValue(Page page, int row, int col) const {
    if (m_page != page || !isEnabled(Control::Grids) || !insideGrid(row, col)) {
        return std::nullopt;
    }
    try {
        return PickValue::encode(row, col, m_buffer.at(kWidth));
    } catch (const OverflowError&) {
        return std::nullopt;
    }
}

void MappingSession::record(PickGrid grid, Int16 word, Int16 value, int row, int col) {
    m_buffer.set(word, value);
    pass(grid).add(row, col);
    setPicksUnsaved(true);
    Q_EMIT picksChanged(grid);
}

void MappingSession::pickRow(int row, int col) {
    const std::optional<Int16> value = pickValue(Page::RowOrder, row, col);
    if (!value) {
        return;
    }
    record(PickGrid::Rows, kRowPicksAt + m_rowPicks.count(), *value, row, col);
    try {
        sendPickCount(PickGrid::Rows);
    } catch (const PortError&) {
        return;  // the pick stays; the page does not move on
    }
    if (m_rowPicks.count() == scanCount()) {
        advanceReportingFailures();
    }
}

void MappingSession::pickColumn(int row, int col) {
    const std::optional<Int16> value = pickValue(Page::ColumnOrder, row, col);
    if (!value || m_columnPicks.count() >= kMaxColumnEntries) {
        return;
    }
    record(PickGrid::Columns, kColumnPicksAt + kColumnPickStride * m_columnPicks.count(), *value,
           row, col);
    try {
        sendPickCount(PickGrid::Columns);
    } catch (const PortError&) {
        // the pick stays, as a row pick's does
    }
}

void MappingSession::undo() {
    const bool pickPage = m_page == Page::RowOrder || m_page == Page::ColumnOrder;
    if (!pickPage || !isEnabled(Control::Undo)) {
        return;
    }
    const PickGrid grid = m_page == Page::RowOrder ? PickGrid::Rows : PickGrid::Columns;
    if (pass(grid).count() == 0) {
        return;
    }
    // The word of the pick taken back keeps its value until the next pick overwrites it.
    pass(grid).removeLast();
    setPicksUnsaved(true);
    Q_EMIT picksChanged(grid);
    try {
        sendPickCount(grid);
    } catch (const PortError&) {
        m_notifier.showMessage(Messages::portBusy());
    }
}

void MappingSession::sendPickCount(PickGrid grid) {
    const int counter = pickCounter().value();
    send(grid == PickGrid::Rows ? Packets::hangTest(counter) : Packets::lieTest(counter));
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

MapImage MappingSession::buildMap() {
    const MapImageBuilder::Result built =
        MapImageBuilder::build(m_buffer, pickCounter(), m_rowPicks.count(), m_image);
    m_buffer.set(kColumnExtent, built.word7);
    m_buffer.set(kOePolarity, built.word5);
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
    m_oeBlink.stop();
    m_displayBlink.stop();
    Q_EMIT pageChanged(m_page);
    Q_EMIT controlsChanged();
}

void MappingSession::setExchangeRunning(bool running) {
    m_exchangeRunning = running;
    for (PolarityBlink* blink : {&m_oeBlink, &m_displayBlink}) {
        running ? blink->pause() : blink->resume();
    }
    Q_EMIT controlsChanged();
}
