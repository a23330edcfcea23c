#pragma once

#include <QList>
#include <QMainWindow>
#include <map>
#include <utility>

#include "link/Link.h"
#include "link/PortNames.h"
#include "session/ControllerCommands.h"
#include "session/MappingSession.h"

class AddressPanel;
class CameraControl;
class FileDialogs;
class MapStatus;
class Notifier;
class ParameterPage;
class PickGridView;
class PickPage;
class PolarityPage;
class PortList;
class QLabel;
class QPushButton;
class QToolButton;
class SerialPort;

// The one window, "LumotrixV6.1": the parameter page with the screen address panel beside it,
// the four wizard pages in the same place (one page shows at a time), the button row with the
// port list, and the status bar naming the map file opened or saved last. It turns what the
// user does into calls on the mapping session and the controller commands, and draws what they
// report. It opens at its client size (wider in English) and grows from there: the wizard's
// pages take the room (the pick grids show more LEDs), the button row keeps to the bottom.
// Ctrl+Z takes back the last pick; Ctrl and +/- (or the wheel over a grid) zoom both grids.
// The camera button at the right of the status bar (or Ctrl+K) opens the camera window; F5
// starts or pauses the camera's walk through the wizard, Esc pauses it.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // The client area at 96 dpi opens at 438 x 318 pixels: 6570 x 4770 twips.
    static constexpr int kClientWidthTwips = 6570;
    static constexpr int kClientHeightTwips = 4770;

    // Where the window meets the world: the serial port, messages and questions to the user,
    // the file dialogs, and how the port list's entries become devices. All but the names
    // must outlive the window.
    struct Seams {
        SerialPort& port;
        Notifier& notifier;
        FileDialogs& dialogs;
        PortNames portNames;
    };

    explicit MainWindow(const Seams& seams, QWidget* parent = nullptr);

    MappingSession& session() { return m_session; }
    ControllerCommands& commands() { return m_commands; }
    Link& link() { return m_link; }

    ParameterPage* parameterPage() const { return m_parameters; }
    AddressPanel* addressPanel() const { return m_address; }
    PolarityPage* polarityPage(Page page) const;
    PickPage* pickPage(PickGrid grid) const;
    PortList* portList() const { return m_portList; }
    QPushButton* previousButton() const { return m_previous; }
    QPushButton* nextButton() const { return m_next; }
    QPushButton* undoButton() const { return m_undo; }
    QPushButton* completeButton() const { return m_complete; }
    QPushButton* openButton() const { return m_open; }
    QPushButton* downloadButton() const { return m_download; }
    QLabel* pickCountLabel() const { return m_pickCount; }
    MapStatus* mapStatus() const { return m_mapStatus; }
    QToolButton* cameraButton() const { return m_cameraButton; }
    CameraControl* camera() const { return m_camera; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createPages(QWidget* area);
    void createButtonRow(QWidget* area);
    void setOpeningSize();
    QSize openingClientSize() const;
    void createShortcuts();
    // Zooms both grids by `steps` steps, larger when positive, keeping the cell under `at` (a
    // point in pointed's coordinates) where it is.
    void zoomGrids(int steps, PickGridView* pointed, QPoint at);
    void setFocusOrder();
    void connectSession();
    void connectControls();
    void showPage(Page page);
    void updateControls();
    void updatePickCount();
    void saveMap();
    void openMap();
    static QString mapFileDescription();
    void showMapFile(const QString& path, const MapImage& image);
    void updateTitle();
    void createCamera();
    void showCameraStop(const QString& text);
    void markCells(const QList<QPoint>& cells);

    Notifier& m_notifier;
    FileDialogs& m_dialogs;
    PortNames m_portNames;
    Link m_link;
    MappingSession m_session;
    ControllerCommands m_commands;

    ParameterPage* m_parameters = nullptr;
    AddressPanel* m_address = nullptr;
    // Every page's widgets, by the page they belong to; one page shows at a time.
    QList<std::pair<Page, QWidget*>> m_pages;
    std::map<Page, PolarityPage*> m_polarityPages;
    std::map<PickGrid, PickPage*> m_pickPages;
    PortList* m_portList = nullptr;
    QPushButton* m_previous = nullptr;
    QPushButton* m_next = nullptr;
    QPushButton* m_undo = nullptr;
    QPushButton* m_complete = nullptr;
    QPushButton* m_open = nullptr;
    QPushButton* m_download = nullptr;
    QLabel* m_pickCount = nullptr;
    MapStatus* m_mapStatus = nullptr;
    QToolButton* m_cameraButton = nullptr;
    CameraControl* m_camera = nullptr;
    QSize m_clientTwips{kClientWidthTwips, kClientHeightTwips};
    QString m_mapFileName;
};
