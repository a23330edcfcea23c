#include "ui/MainWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QFileInfo>
#include <QLineEdit>
#include <QShortcut>
#include <QStatusBar>
#include <QToolButton>

#include "core/Errors.h"
#include "core/Language.h"
#include "mapfile/DecodedMap.h"
#include "mapfile/MapFile.h"
#include "session/Notifier.h"
#include "session/WizardSteps.h"
#include "ui/AddressPanel.h"
#include "ui/CameraControl.h"
#include "ui/Controls.h"
#include "ui/EnglishLayout.h"
#include "ui/FileDialogs.h"
#include "ui/MapStatus.h"
#include "ui/ParameterPage.h"
#include "ui/PickGridView.h"
#include "ui/PickPage.h"
#include "ui/PolarityPage.h"
#include "ui/PortList.h"
#include "ui/UiFonts.h"

using namespace Controls;
using Control = MappingSession::Control;

namespace {

const QString kProgramTitle = QStringLiteral("LumotrixV6.1");
// The status bar's own margins and size grip beside its message and the camera button.
constexpr int kStatusMargins = 24;

}  // namespace

MainWindow::MainWindow(const Seams& seams, QWidget* parent)
    : QMainWindow(parent),
      m_notifier(seams.notifier),
      m_dialogs(seams.dialogs),
      m_portNames(seams.portNames),
      m_link(seams.port),
      m_session(m_link, m_notifier),
      m_commands(m_session, m_link, m_notifier) {
    setObjectName(QStringLiteral("MainWindow"));
    updateTitle();
    setFont(UiFonts::simSun(9));
    auto* area = new QWidget(this);
    area->setObjectName(QStringLiteral("OE"));
    setCentralWidget(area);
    createPages(area);
    createButtonRow(area);
    if (Languages::current() == Language::English) {
        m_clientTwips.setWidth(EnglishLayout::kClientWidthTwips);
        EnglishLayout::apply(this);
    }
    m_mapStatus = new MapStatus(this);
    statusBar()->addWidget(m_mapStatus, 1);
    createCamera();
    setOpeningSize();
    setFocusOrder();
    createShortcuts();
    connectSession();
    connectControls();
    m_parameters->selectDefaults();
    showPage(Page::Parameters);
    updateControls();
    m_portList->choose(0);
}

void MainWindow::createPages(QWidget* area) {
    m_parameters = Twips::place(new ParameterPage(area), "Cell", 240, 240, 2895, 3735);
    m_address = Twips::place(new AddressPanel(area), "Frame1", 3120, 240, 3135, 3735);
    m_pages = {{Page::Parameters, m_parameters}, {Page::Parameters, m_address}};
    for (const WizardSteps::PolarityStep& step : WizardSteps::kPolaritySteps) {
        auto* page = new PolarityPage(step.page, area);
        m_polarityPages[step.page] = page;
        m_pages.append({step.page, Twips::place(page, page->frameName(), 240, 240, 6015, 3735)});
    }
    for (const WizardSteps::PickStep& step : WizardSteps::kPickSteps) {
        auto* page = new PickPage(step.grid, m_session.picks(step.grid), area);
        m_pickPages[step.grid] = page;
        m_pages.append({step.page, Twips::place(page, page->frameName(), 240, 240, 6015, 3735)});
    }
    // The wizard's pages take the room of a larger window; the parameters and the address
    // panel keep their size.
    for (const auto& [page, widget] : m_pages) {
        if (page != Page::Parameters) {
            Twips::follow(widget, Twips::Follow::Grows);
        }
    }
}

// The client area opens at its twips size, the status bar below it; the window never gets
// smaller than that. Larger, the wizard's pages grow and the button row keeps to the bottom.
void MainWindow::setOpeningSize() {
    const QSize client = openingClientSize();
    centralWidget()->setMinimumSize(client);
    centralWidget()->installEventFilter(this);
    const QSize opening(client.width(), client.height() + statusBar()->sizeHint().height());
    setMinimumSize(opening);
    resize(opening);
}

QSize MainWindow::openingClientSize() const {
    return {Twips::toPixels(m_clientTwips.width(), logicalDpiX()),
            Twips::toPixels(m_clientTwips.height(), logicalDpiY())};
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == centralWidget() && event->type() == QEvent::Resize) {
        Twips::layOut(centralWidget(), centralWidget()->size() - openingClientSize());
    }
    return QMainWindow::eventFilter(watched, event);
}

// The camera's button at the right end of the status bar, outside the form's tab order. The
// camera itself is made at its first use.
void MainWindow::createCamera() {
    m_camera = new CameraControl(m_session, this);
    m_cameraButton = new QToolButton(this);
    m_cameraButton->setObjectName(QStringLiteral("CameraButton"));
    m_cameraButton->setText(tr("相机"));
    m_cameraButton->setToolTip(tr("相机：让相机看着模块自动完成各步 (Ctrl+K)"));
    m_cameraButton->setAutoRaise(true);
    m_cameraButton->setFocusPolicy(Qt::NoFocus);
    statusBar()->addPermanentWidget(m_cameraButton);
    connect(m_cameraButton, &QToolButton::clicked, m_camera, &CameraControl::showWindow);
    connect(m_camera, &CameraControl::marksChanged, this, &MainWindow::markCells);
    connect(m_camera, &CameraControl::statusChanged, this,
            [this](const QString& text, bool needsUser) { showCameraStop(needsUser ? text : QString()); });
}

// Why the camera stopped, in the status bar beside the camera button: cut to the room there
// (the camera window shows it whole), and whole in the status bar's tooltip. Empty clears it.
void MainWindow::showCameraStop(const QString& text) {
    statusBar()->setToolTip(text);
    if (text.isEmpty()) {
        statusBar()->clearMessage();
        return;
    }
    const int room = statusBar()->width() - m_cameraButton->width() - kStatusMargins;
    statusBar()->showMessage(statusBar()->fontMetrics().elidedText(text, Qt::ElideRight, room));
}

// The cells the camera asks about, on the grid of the page in front.
void MainWindow::markCells(const QList<QPoint>& cells) {
    const WizardSteps::PickStep* step = WizardSteps::pickStep(m_session.page());
    for (const auto& [grid, page] : m_pickPages) {
        page->grid()->gridModel().setMarked(step && step->grid == grid ? cells : QList<QPoint>{});
    }
}

void MainWindow::createShortcuts() {
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_K), this), &QShortcut::activated,
            m_camera, &CameraControl::showWindow);
    // F5 also from the camera window.
    auto* walk = new QShortcut(QKeySequence(Qt::Key_F5), this);
    walk->setContext(Qt::ApplicationShortcut);
    connect(walk, &QShortcut::activated, m_camera, &CameraControl::toggleWalk);
    // Esc in the window's own area: the camera window, a window of its own, handles its Esc.
    auto* pause = new QShortcut(QKeySequence(Qt::Key_Escape), centralWidget());
    pause->setContext(Qt::WidgetWithChildrenShortcut);
    connect(pause, &QShortcut::activated, m_camera, &CameraControl::pauseWalk);
    connect(new QShortcut(QKeySequence::Undo, this), &QShortcut::activated, &m_session,
            &MappingSession::undo);
    // Ctrl and "+" whether or not Shift is needed for "+" on the keyboard.
    for (const QKeySequence& keys :
         {QKeySequence(QKeySequence::ZoomIn), QKeySequence(Qt::CTRL | Qt::Key_Equal)}) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this,
                [this] { zoomGrids(1, nullptr, {}); });
    }
    connect(new QShortcut(QKeySequence::ZoomOut, this), &QShortcut::activated, this,
            [this] { zoomGrids(-1, nullptr, {}); });
}

// Both grids take the same zoom. The grid under the mouse keeps the cell at the mouse where it
// is; any other keeps the cell at the mouse if the mouse is over it, else the one in its middle.
void MainWindow::zoomGrids(int steps, PickGridView* pointed, QPoint at) {
    for (const auto& [which, page] : m_pickPages) {
        PickGridView* grid = page->grid();
        QPoint anchor = grid->mapFromGlobal(QCursor::pos());
        if (grid == pointed) {
            anchor = at;
        } else if (!grid->isVisible() || !grid->rect().contains(anchor)) {
            anchor = grid->rect().center();
        }
        grid->zoomBy(steps, anchor);
    }
}

void MainWindow::createButtonRow(QWidget* area) {
    m_portList = Twips::place(new PortList(m_portNames, area), "Combo1", 240, 4237, 855, 300);
    m_previous = button(area, "Pre", tr("上一步"), 1200, 4200, 735, 375);
    m_next = button(area, "NextB", tr("下一步"), 2040, 4200, 735, 375);
    m_undo = button(area, "Undo", tr("后退"), 2880, 4200, 615, 375);
    m_complete = button(area, "Complete", tr("完成"), 3600, 4200, 615, 375);
    m_open = button(area, "Open", tr("打开"), 4800, 4200, 615, 375);
    m_download = button(area, "DownLoad", tr("下载"), 5520, 4200, 615, 375);
    // In the gap of the button row, so it covers neither a grid nor a caption.
    m_pickCount = label(area, "PickCount", QString(), 4245, 4260, 540, 255);
    m_pickCount->setAlignment(Qt::AlignCenter);
    for (QWidget* widget : QList<QWidget*>{m_portList, m_previous, m_next, m_undo, m_complete,
                                           m_open, m_download, m_pickCount}) {
        Twips::follow(widget, Twips::Follow::Bottom);
    }
}

void MainWindow::setFocusOrder() {
    const PolarityPage& oe = *polarityPage(Page::OePolarity);
    const PolarityPage& display = *polarityPage(Page::DisplayPolarity);
    const auto& oeStates = oe.indicatorButtons();
    const auto& oeChoices = oe.choiceButtons();
    const auto& displayStates = display.indicatorButtons();
    const auto& displayChoices = display.choiceButtons();
    const auto& ip = m_address->ipEdits();
    const QList<QWidget*> order = {m_parameters->widthEdit(),
                                   m_parameters->heightEdit(),
                                   m_parameters->colourBox(),
                                   m_parameters->scanBox(),
                                   m_parameters->redGreenBox(),
                                   m_previous,
                                   m_next,
                                   m_complete,
                                   m_open,
                                   m_download,
                                   m_portList,
                                   oeStates[0],
                                   oeStates[1],
                                   oeChoices[0],
                                   oeChoices[1],
                                   displayChoices[0],
                                   displayChoices[1],
                                   displayStates[0],
                                   displayStates[1],
                                   pickPage(PickGrid::Rows)->grid(),
                                   pickPage(PickGrid::Columns)->grid(),
                                   m_address->screenNumberEdit(),
                                   m_address->setAddressButton(),
                                   m_address->readAddressButton(),
                                   ip[0],
                                   ip[1],
                                   ip[2],
                                   ip[3],
                                   m_undo};
    for (int i = 1; i < order.size(); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
    m_parameters->widthEdit()->setFocus(Qt::OtherFocusReason);
}

void MainWindow::connectSession() {
    connect(&m_session, &MappingSession::pageChanged, this, &MainWindow::showPage);
    connect(&m_session, &MappingSession::controlsChanged, this, &MainWindow::updateControls);
    connect(&m_session, &MappingSession::blinkShown, this,
            [this](Page page, Lit state) { polarityPage(page)->showState(state); });
    connect(&m_session, &MappingSession::choiceChanged, this,
            [this](Page page, Lit lit) { polarityPage(page)->showChoice(lit); });
    connect(&m_session, &MappingSession::gridsLaidOut, this, [this](int width, int height) {
        for (const auto& [grid, page] : m_pickPages) {
            page->grid()->setModuleSize(width, height);
        }
    });
    connect(&m_session, &MappingSession::picksChanged, this, [this](PickGrid grid) {
        pickPage(grid)->grid()->gridModel().picksChanged();
        updatePickCount();
    });
    connect(&m_session, &MappingSession::unsavedPicksChanged, this, &QWidget::setWindowModified);
    connect(&m_session, &MappingSession::statusHidden, m_address, &AddressPanel::hideStatus);
    connect(&m_commands, &ControllerCommands::statusChanged, m_address, &AddressPanel::showStatus);
    connect(&m_commands, &ControllerCommands::addressRead, m_address, &AddressPanel::showAddress);
}

void MainWindow::connectControls() {
    connect(m_previous, &QPushButton::clicked, &m_session, &MappingSession::previous);
    connect(m_next, &QPushButton::clicked, this, [this] { m_session.next(m_parameters->input()); });
    connect(m_undo, &QPushButton::clicked, &m_session, &MappingSession::undo);
    connect(m_complete, &QPushButton::clicked, this, &MainWindow::saveMap);
    connect(m_open, &QPushButton::clicked, this, &MainWindow::openMap);
    connect(m_download, &QPushButton::clicked, &m_commands, &ControllerCommands::download);
    connect(m_address->setAddressButton(), &QPushButton::clicked, this,
            [this] { m_commands.setAddress(m_address->screenText(), m_address->ipTexts()); });
    connect(m_address->readAddressButton(), &QPushButton::clicked, &m_commands,
            &ControllerCommands::readAddress);
    connect(m_portList, &PortList::portChosen, &m_session, &MappingSession::choosePort);
    for (const auto& [which, page] : m_polarityPages) {
        connect(page, &PolarityPage::chosen, this,
                [this, which = which](Lit lit) { m_session.choose(which, lit); });
    }
    for (const auto& [which, page] : m_pickPages) {
        PickGridView* grid = page->grid();
        connect(grid, &PickGridView::cellPicked, this,
                [this, which = which](int row, int col) { m_session.pick(which, row, col); });
        connect(grid, &PickGridView::zoomWheeled, this,
                [this, grid](int steps, QPoint at) { zoomGrids(steps, grid, at); });
    }
}

PolarityPage* MainWindow::polarityPage(Page page) const {
    return m_polarityPages.at(page);
}

PickPage* MainWindow::pickPage(PickGrid grid) const {
    return m_pickPages.at(grid);
}

// One page shows at a time; the parameter page shares its place with the address panel.
void MainWindow::showPage(Page page) {
    for (const auto& [which, widget] : m_pages) {
        widget->setVisible(which == page);
    }
    m_address->raise();
    updatePickCount();
}

void MainWindow::updateControls() {
    const std::pair<QWidget*, Control> controls[] = {
        {m_previous, Control::Previous},
        {m_next, Control::Next},
        {m_undo, Control::Undo},
        {m_complete, Control::Complete},
        {m_open, Control::Open},
        {m_download, Control::Download},
        {m_address->setAddressButton(), Control::SetAddress},
        {m_address->readAddressButton(), Control::ReadAddress},
        {m_portList, Control::PortChoice},
    };
    for (const auto& [widget, control] : controls) {
        widget->setEnabled(m_session.isEnabled(control));
    }
    for (const auto& [grid, page] : m_pickPages) {
        page->grid()->setEnabled(m_session.isEnabled(Control::Grids));
    }
}

// The pick pages show how far their pass has come: rows picked of the scan count, or columns.
void MainWindow::updatePickCount() {
    const WizardSteps::PickStep* step = WizardSteps::pickStep(m_session.page());
    m_pickCount->setVisible(step != nullptr);
    if (!step) {
        return;
    }
    const int picks = m_session.picks(step->grid).count();
    if (step->grid == PickGrid::Rows) {
        m_pickCount->setText(QStringLiteral("%1/%2").arg(picks).arg(m_session.scanCount()));
        m_pickCount->setToolTip(tr("已选的行数 / 扫描周期"));
    } else {
        m_pickCount->setText(tr("%n列", nullptr, picks));
        m_pickCount->setToolTip(tr("已选的列数"));
    }
}

void MainWindow::saveMap() {
    MapImage image;
    try {
        image = m_session.buildMap();
    } catch (const InputError& e) {
        m_notifier.showMessage(QString::fromUtf8(e.what()));
        return;
    }
    const QString path =
        m_dialogs.askSaveFileName(mapFileDescription(), QString::fromUtf8(MapFile::kFilterPattern));
    if (path.isEmpty()) {
        return;
    }
    try {
        MapFile::save(path, image);
    } catch (const FileError& e) {
        m_notifier.showMessage(QString::fromUtf8(e.what()));
        return;
    }
    m_session.mapSaved();
    showMapFile(path, image);
    const QStringList repeats = m_session.repeatedPicks();
    if (!repeats.isEmpty()) {
        m_notifier.showMessage(
            tr("地图已保存，但有重复的选择：\n%1\n如果选错了，请回到那一步重选后再保存。")
                .arg(repeats.join(QLatin1Char('\n'))));
    }
}

void MainWindow::openMap() {
    const QString path =
        m_dialogs.askOpenFileName(mapFileDescription(), QString::fromUtf8(MapFile::kFilterPattern));
    if (path.isEmpty()) {
        return;
    }
    MapImage image;
    try {
        image = MapFile::load(path);
    } catch (const FileError& e) {
        m_notifier.showMessage(QString::fromUtf8(e.what()));
        return;
    }
    m_session.mapOpened(image);
    showMapFile(path, image);
}

QString MainWindow::mapFileDescription() {
    return QCoreApplication::translate("MapFile", MapFile::kFilterDescription);
}

// The file's name goes to the title and the status bar, with what the decoder reads in it.
void MainWindow::showMapFile(const QString& path, const MapImage& image) {
    m_mapFileName = QFileInfo(path).fileName();
    const QByteArray bytes = image.toBytes();
    m_mapStatus->showMap(m_mapFileName, DecodedMap::decode(bytes, bytes.size()));
    updateTitle();
}

// "module.bin[*] - LumotrixV6.1" once a map file was opened or saved; Qt shows "[*]" as "*"
// while picks are not saved.
void MainWindow::updateTitle() {
    setWindowTitle(m_mapFileName.isEmpty()
                       ? kProgramTitle + QStringLiteral("[*]")
                       : m_mapFileName + QStringLiteral("[*] - ") + kProgramTitle);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (m_session.hasUnsavedPicks() &&
        !m_notifier.askToDiscard(tr("选好的行和列还没有保存到地图文件。放弃它们并关闭吗？"))) {
        event->ignore();
        return;
    }
    event->accept();
}
