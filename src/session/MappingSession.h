#pragma once

#include <QBitArray>
#include <QObject>
#include <QStringList>
#include <array>
#include <optional>

#include "core/Int16.h"
#include "core/MapImage.h"
#include "core/ScanMapBuffer.h"
#include "session/ModuleParameters.h"
#include "session/Page.h"
#include "session/PassPicks.h"
#include "session/PolarityBlink.h"
#include "session/WizardSteps.h"

class Link;
class Notifier;

// One mapping run: the page in front, the scan map buffer the wizard fills, the map image, the
// polarity blinks, the picks of the current pass and what may be pressed now. Every user
// action is a call; every change the view draws is told by a signal. It sends through the
// link and tells the user of failures through the notifier. The pages, and what each polarity
// and pick page stores and sends, are the rows of WizardSteps.
//
// Leaving the parameter page stores words 0..4 (width, height, colour, scan count, red-green)
// and sends CellTest; leaving a polarity page stores and sends its answer; leaving the row page
// stores nothing. Showing a page re-runs its entry: a polarity page chooses "1亮" and starts its
// blink over, a pick page starts a new pass and sends its test packet with 0.
//
// Failures: bad parameters are named and nothing is stored or sent; a port failure shows
// "串口被占用" (Messages::portBusy), keeps what was done and leaves the page in front where the
// failure found it; a pick whose port fails keeps the pick and says nothing; a pick whose
// pixel number does not fit 16 bits, or whose word would lie past the buffer's end, changes
// nothing. Any other failure is a fault of the program and passes to the caller.
class MappingSession : public QObject {
    Q_OBJECT
public:
    // The controls whose use the session allows or refuses.
    enum class Control {
        Previous,
        Next,
        Undo,
        Complete,
        Open,
        Download,
        SetAddress,
        ReadAddress,
        PortChoice,
        Grids
    };

    MappingSession(Link& link, Notifier& notifier, QObject* parent = nullptr);

    Page page() const { return m_page; }
    bool isEnabled(Control control) const;
    // The answer chosen on a polarity page.
    Lit choice(Page polarityPage) const;
    // The picks of the current pass of a grid, and the scan count they aim for (word 3).
    const PassPicks& picks(PickGrid grid) const;
    int scanCount() const { return m_buffer.at(MapLayout::kScanCount).value(); }
    bool hasUnsavedPicks() const { return m_picksUnsaved; }
    const ScanMapBuffer& buffer() const { return m_buffer; }
    const MapImage& image() const { return m_image; }

    // The user's actions. next() takes what the parameter page holds; only leaving that page
    // reads it.
    void next(const ParameterInput& parameters);
    void previous();
    void choose(Page polarityPage, Lit lit);
    // A pick on the cell of grid row row (1..height), column col (1..width) of a pick page;
    // nothing unless that grid's page is in front.
    void pick(PickGrid grid, int row, int col);
    void undo();

    // Builds the map image from the buffer and keeps it (words 5 and 7 take their saved
    // values); InputError, with nothing changed, when the picks do not make a map: a row
    // address 0..S-1 without a pick since the parameters were last stored (a pick taken back
    // with undo does not count), among others.
    MapImage buildMap();
    // The image built last was written to a map file: the picks count as saved.
    void mapSaved();
    // Sentences naming the picks that repeat an earlier one (RepeatedPicks).
    QStringList repeatedPicks() const;
    // A map file was opened: its image replaces the one kept.
    void mapOpened(const MapImage& image);

    // The port the user chose: its label and the device it stands for now.
    void choosePort(const QString& label, const QString& device);

    // For the exchanges: the wizard goes back to its first page, blinks stopped.
    void returnToParameters();
    // While an exchange runs nothing else that sends may start.
    void setExchangeRunning(bool running);

Q_SIGNALS:
    void pageChanged(Page page);
    void controlsChanged();
    // A polarity page's indicator shows this state now / its answer is this one now.
    void blinkShown(Page page, Lit state);
    void choiceChanged(Page page, Lit lit);
    // Both grids now stand for a module of this size.
    void gridsLaidOut(int width, int height);
    // The picks of a grid's pass changed (a pick, an undo, a new pass).
    void picksChanged(PickGrid grid);
    void unsavedPicksChanged(bool unsaved);
    // The status line of the exchanges is no longer of interest.
    void statusHidden();
    // A pick was kept but the port refused its count: the controller still shows the step
    // before. Nothing else tells of it (the user sees the panel not change).
    void pickNotSent();

private:
    struct Polarity {
        PolarityBlink blink;
        Lit choice = Lit::StateOne;
    };

    void advance(const ParameterInput& parameters);
    void advanceReportingFailures();
    void leaveParameters(const ParameterInput& parameters);
    void leavePolarity(const WizardSteps::PolarityStep& step);
    void show(Page page);
    void showPolarityPage(const WizardSteps::PolarityStep& step);
    void showPickPage(const WizardSteps::PickStep& step);
    void stopBlinksBut(Page page);
    void onBlinkShown(const WizardSteps::PolarityStep& step, Lit state);
    void send(const QByteArray& packet);
    void sendPickCount(const WizardSteps::PickStep& step);
    void setPicksUnsaved(bool unsaved);
    Int16 pickCounter() const;
    int rowAddressesPicked() const;
    bool insideGrid(int row, int col) const;
    std::optional<Int16> pickValue(const WizardSteps::PickStep& step, int row, int col) const;

    Link& m_link;
    Notifier& m_notifier;
    Page m_page = Page::Parameters;
    ScanMapBuffer m_buffer;
    MapImage m_image;
    // One a row of WizardSteps::kPolaritySteps and kPickSteps, in their order.
    std::array<Polarity, WizardSteps::kPolaritySteps.size()> m_polarities;
    std::array<PassPicks, WizardSteps::kPickSteps.size()> m_passes;
    // Per grid, bit k: pick position k (a row address on the row page) holds a pick made since
    // the parameters were last stored and not taken back.
    std::array<QBitArray, WizardSteps::kPickSteps.size()> m_held;
    bool m_blinkMessageOpen = false;
    int m_gridWidth = 1;
    int m_gridHeight = 1;
    bool m_picksUnsaved = false;
    bool m_hasMap = false;
    bool m_exchangeRunning = false;
};
