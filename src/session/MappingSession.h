#pragma once

#include <QObject>
#include <QStringList>
#include <optional>

#include "core/Int16.h"
#include "core/MapImage.h"
#include "core/ScanMapBuffer.h"
#include "session/ModuleParameters.h"
#include "session/Page.h"
#include "session/PassPicks.h"
#include "session/PolarityBlink.h"

class Link;
class Notifier;

// One mapping run: the page in front, the scan map buffer the wizard fills, the map image, the
// polarity blinks, the picks of the current pass and what may be pressed now. Every user
// action is a call; every change the view draws is told by a signal. It sends through the
// link and tells the user of failures through the notifier.
//
// The pages and what leaving each stores and sends (words of the buffer, MapLayout):
//   Parameters      words 0..4 = width, height, colour, scan count, red-green; CellTest
//   OePolarity      word 5 = 0 for "1亮", 1 for "2亮"; OeTest with it
//   DisplayPolarity word 6 = 0 for "1亮", 255 for "2亮"; DisTest with it
//   RowOrder        nothing
// Showing a page re-runs its entry: the polarity pages choose "1亮" and start their blink over
// (OePolarity also lays out both grids), the pick pages start a new pass and send their test
// packet with 0.
//
// Failures: bad parameters are named and nothing is stored or sent; a port failure shows
// "串口被占用" (Messages::portBusy), keeps what was done and leaves the page in front where the
// failure found it; a pick whose port fails keeps the pick and says nothing; a pick whose
// pixel number does not fit 16 bits changes nothing. Any other failure is a fault of the
// program and passes to the caller.
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
    // Width and height of the module the grids were last laid out for.
    int gridWidth() const { return m_gridWidth; }
    int gridHeight() const { return m_gridHeight; }
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
    // A click on the cell of grid row row (1..height), column col (1..width) of a pick page.
    void pickRow(int row, int col);
    void pickColumn(int row, int col);
    void undo();

    // Builds the map image from the buffer and keeps it (words 5 and 7 take their saved
    // values); InputError, with nothing changed, when the picks do not make a map.
    MapImage buildMap();
    // The image built last was written to a map file: the picks count as saved.
    void mapSaved();
    // Sentences naming the picks that repeat an earlier one (RepeatedPicks).
    QStringList repeatedPicks() const;
    // A map file was opened: its image replaces the one kept.
    void mapOpened(const MapImage& image);
    // Either makes a map to download.
    bool hasMap() const { return m_hasMap; }

    // The port the user chose: its label and the device it stands for now.
    void choosePort(const QString& label, const QString& device);

    // For the exchanges: the wizard goes back to its first page, blinks stopped.
    void returnToParameters();
    // While an exchange runs nothing else that sends may start and a blink is held.
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

private:
    void advance(const ParameterInput& parameters);
    void advanceReportingFailures();
    void leaveParameters(const ParameterInput& parameters);
    void leavePolarity(Page page);
    void show(Page page);
    void showPolarityPage(Page page);
    void showPickPage(PickGrid grid);
    void onBlinkShown(Page page, Lit state);
    void send(const QByteArray& packet);
    void sendPickCount(PickGrid grid);
    void setPicksUnsaved(bool unsaved);
    PassPicks& pass(PickGrid grid);
    Int16 pickCounter() const;
    bool insideGrid(int row, int col) const;
    std::optional<Int16> pickValue(Page page, int row, int col) const;
    void record(PickGrid grid, Int16 word, Int16 value, int row, int col);

    Link& m_link;
    Notifier& m_notifier;
    Page m_page = Page::Parameters;
    ScanMapBuffer m_buffer;
    MapImage m_image;
    PassPicks m_rowPicks;
    PassPicks m_columnPicks;
    PolarityBlink m_oeBlink;
    PolarityBlink m_displayBlink;
    Lit m_oeChoice = Lit::StateOne;
    Lit m_displayChoice = Lit::StateOne;
    bool m_blinkMessageOpen = false;
    int m_gridWidth = 1;
    int m_gridHeight = 1;
    bool m_picksUnsaved = false;
    bool m_hasMap = false;
    bool m_exchangeRunning = false;
};
