#include <QAbstractButton>
#include <QByteArray>
#include <QColor>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPaintEngine>
#include <QPainter>
#include <QPoint>
#include <QPointF>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRect>
#include <QRectF>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QSize>
#include <QStatusBar>
#include <QStringList>
#include <QStyleOptionGroupBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <memory>

#include "FakeSerialPort.h"
#include "RecordingNotifier.h"
#include "ScriptedDialogs.h"
#include "TestBytes.h"
#include "core/Language.h"
#include "ui/AddressPanel.h"
#include "ui/Application.h"
#include "ui/CameraControl.h"
#include "ui/CameraWindow.h"
#include "ui/FileDialogModel.h"
#include "ui/MainWindow.h"
#include "ui/MapStatus.h"
#include "ui/ParameterPage.h"
#include "ui/PickGridView.h"
#include "ui/PickPage.h"
#include "ui/PolarityPage.h"
#include "ui/PortList.h"
#include "ui/QtFileDialogs.h"

namespace {

// A picture that records the font of every text drawn on it, and draws nothing.
class FontRecorder : public QImage {
public:
    FontRecorder() : QImage(100, 100, QImage::Format_RGB32) {}
    QPaintEngine* paintEngine() const override { return &m_engine; }
    const QList<QFont>& fonts() const { return m_engine.fonts; }

private:
    struct Engine : QPaintEngine {
        Engine() : QPaintEngine(AllFeatures) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState&) override {}
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawTextItem(const QPointF&, const QTextItem& text) override { fonts << text.font(); }
        Type type() const override { return User; }
        QList<QFont> fonts;
    };
    mutable Engine m_engine;
};
}  // namespace

// What only the window can get wrong: which control does what, which page shows, what the
// grids draw, growing and zooming, the port list, the status bar and title, the file dialogs,
// the close question, the language of the program, and captions that fit at the screen's DPI
// in both languages (this suite also runs at 192 dpi).
class WindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        // The remembered folder goes to a settings file of this run, never to the user's.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
    }

    void init() {
        m_port = FakeSerialPort();
        m_notifier = RecordingNotifier();
        m_dialogs = ScriptedDialogs();
        m_devices = {QStringLiteral("/dev/ttyS0")};
        speak(Language::Chinese);
    }

    void cleanup() { m_w.reset(); }

    void startsOnTheParameterPageAtItsSize() {
        QCOMPARE(title(), u("LumotrixV6.1"));
        // 438 x 318 pixels at 96 dpi above the status bar, every control where it always was.
        QCOMPARE(w().centralWidget()->size(), QSize(438, 318));
        QCOMPARE(w().downloadButton()->geometry(), QRect(368, 280, 41, 25));
        QCOMPARE(w().minimumSize(), w().size());
        // The default parameters and port are what the end-to-end session sends with.
        QVERIFY(w().parameterPage()->widthEdit()->hasFocus());
        QVERIFY(!w().downloadButton()->isEnabled() &&
                !w().addressPanel()->statusLabel()->isVisible());
        QVERIFY(m_port.openedDevices.isEmpty());
    }

    void clickPicksTheCellUnderTheMouseAtEveryZoom_data() {
        QTest::addColumn<int>("notches");  // of the wheel, with Ctrl held
        QTest::addColumn<QSize>("cell");   // pixels at 96 dpi
        QTest::newRow("75 %") << -1 << QSize(14, 12);
        QTest::newRow("100 %") << 0 << QSize(19, 16);
        QTest::newRow("150 %") << 2 << QSize(28, 24);
    }

    void clickPicksTheCellUnderTheMouseAtEveryZoom() {
        QFETCH(int, notches);
        QFETCH(QSize, cell);
        next(3);
        w().resize(w().size() + QSize(300, 100));  // the pick page and its grid grow by as much
        PickGridView* grid = w().pickPage(PickGrid::Rows)->grid();
        QTRY_COMPARE(grid->size(), QSize(385 + 300, 227 + 100));
        QCOMPARE(w().downloadButton()->geometry(), QRect(368, 280 + 100, 41, 25));
        QScrollBar* across = grid->horizontalScrollBar();
        QScrollBar* down = grid->verticalScrollBar();
        across->setValue(across->maximum() / 2);
        down->setValue(down->maximum() / 2);
        const QPoint mouse = grid->viewport()->rect().center();  // in the viewport
        const QPoint screen = grid->viewport()->mapToGlobal(mouse);
        const QModelIndex under = grid->indexAt(mouse);
        QWheelEvent wheel(mouse, screen, {}, {0, 120 * notches}, Qt::NoButton, Qt::ControlModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(grid->viewport(), &wheel);
        QCOMPARE(grid->indexAt(grid->viewport()->mapFromGlobal(screen)), under);
        QCOMPARE(w().pickPage(PickGrid::Columns)->grid()->zoomPercent(), 100 + 25 * notches);
        // One cell per LED, headers as large as a cell; the click's cell counted from those sizes.
        QCOMPARE(QSize(grid->horizontalHeader()->length(), grid->verticalHeader()->length()),
                 QSize(64 * cell.width(), 32 * cell.height()));
        QCOMPARE(QSize(grid->verticalHeader()->width(), grid->horizontalHeader()->height()), cell);
        for (QHeaderView* header : {grid->horizontalHeader(), grid->verticalHeader()}) {
            QCOMPARE(header->font().pointSizeF(), grid->font().pointSizeF() * (4 + notches) / 4);
        }
        const int row = under.row() + 3;  // from 1: two below and three right of the mouse's cell
        const int col = under.column() + 4;
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          QPoint((col - 1) * cell.width() + cell.width() / 2 - across->value(),
                                 (row - 1) * cell.height() + cell.height() / 2 - down->value()));
        QCOMPARE(w().session().picks(PickGrid::Rows).picksAt(row, col), QList<int>{1});
    }

    void openedMapIsNamedInTheStatusBarAndTitle_data() {
        QTest::addColumn<Language>("language");
        QTest::addColumn<QString>("sound");
        QTest::addColumn<QString>("suspect");
        QTest::newRow("zh")
            << Language::Chinese << u("sound.bin: 64 × 32, 单色, 扫描 16, 16 行 1 列")
            << u("bad.bin 可疑：扫描周期 20 不在 1 到 16 之间；1 个行选择在模块之外；"
                 "没有列选择");
        QTest::newRow("en") << Language::English
                            << u("sound.bin: 64 × 32, single colour, scan 16, rows 16, columns 1")
                            << u("bad.bin looks wrong: scan count 20 is not 1 to 16; 1 row pick "
                                 "outside the module; no column picks");
    }

    void openedMapIsNamedInTheStatusBarAndTitle() {
        QFETCH(Language, language);
        QFETCH(QString, sound);
        QFETCH(QString, suspect);
        speak(language);
        // 64 x 32, single colour, scan 16, row entries on pixel rows 0..15 of column 0, one column
        // entry; the suspect one with scan count 20, row entry 0 on pixel row 40, no column entry.
        QByteArray map = hex("40002000000010000100000000000800") + zeros(2032);
        for (int i = 0; i < 16; ++i) {
            map[16 + 2 * i] = static_cast<char>(i);
        }
        QByteArray bad = map;
        bad.replace(6, 1, "\x14").replace(14, 1, "\x00", 1).replace(16, 1, "\x28");
        QTemporaryDir dir;
        for (const auto& [name, bytes] : {std::pair{"sound.bin", map}, {"bad.bin", bad}}) {
            m_dialogs.answers << writeFile(dir.filePath(u(name)), bytes);
        }
        for (const auto& [status, named] : {std::pair{sound, u("sound.bin - LumotrixV6.10")},
                                            {suspect, u("bad.bin - LumotrixV6.11")}}) {
            w().openButton()->click();
            QCOMPARE(w().mapStatus()->text(), status);
            QCOMPARE(title() + QString::number(w().mapStatus()->warns()), named);
        }
        QCOMPARE(w().centralWidget()->height(), 318);  // a warning in the status bar takes no room
        QVERIFY(w().downloadButton()->isEnabled());
    }

    void fileDialogsOpenInTheFolderLastUsed() {
        QTemporaryDir folder;
        const QString map = writeFile(folder.filePath(u("module.bin")), {});
        QString shownIn;
        // Notes the folder of the dialog about to open, then chooses file (none: cancels).
        const auto answer = [&shownIn](const QString& file) {
            QTimer::singleShot(0, [&shownIn, file] {
                auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                shownIn = dialog->directory().absolutePath();
                dialog->selectFile(file);
                file.isEmpty() ? dialog->reject() : static_cast<QDialog*>(dialog)->accept();
            });
        };
        answer(map);
        QCOMPARE(QtFileDialogs(nullptr).askOpenFileName(u("bin Files(*.bin)"), u("*.bin")), map);
        answer(QString());  // a new object, as in the next run: the folder comes from the settings
        QtFileDialogs(nullptr).askSaveFileName(u("bin Files(*.bin)"), u("*.bin"));
        QCOMPARE(shownIn, QDir(folder.path()).absolutePath());
    }

    // Qt's file dialog in Chinese names a folder's type in Chinese, through FileDialogModel.
    void fileDialogNamesFoldersInTheProgramsLanguage() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(u("maps")));
        QFileSystemModel files;
        files.setRootPath(dir.path());
        FileDialogModel model;
        model.setSourceModel(&files);
        const QModelIndex folder = model.mapFromSource(files.index(dir.filePath(u("maps"))));
        QTRY_COMPARE(folder.siblingAtColumn(2).data().toString(), u("文件夹"));
        QCOMPARE(folder.data().toString(), u("maps"));
    }

    // What the program is started with: its own options and Qt's; anything else is refused
    // with the usage, in the locale's language (English here).
    void commandLineIsCheckedBeforeTheWindowOpens_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("refusal");  // empty: the program runs
        QTest::newRow("unknown language")
            << QStringList{u("--lang"), u("fr")} << u("--lang takes en (English) or zh");
        QTest::newRow("unknown option")
            << QStringList{u("--bogus")} << u("Unknown option: --bogus\nUsage: lumotrix");
        QTest::newRow("misspelt option")
            << QStringList{u("--lnag"), u("en")} << u("Unknown option: --lnag\n");
        QTest::newRow("Qt's options")
            << QStringList{u("-qwindowgeometry"), u("+0+0"), u("--lang=zh")} << QString();
        QTest::newRow("a camera that does not answer")
            << QStringList{u("--camera"), u("http://127.0.0.1:1/")} << QString();
        QTest::newRow("no camera to list")  // ends with code 0: nothing is wrong
            << QStringList{u("--list-cameras")} << u("No camera found");
    }

    void commandLineIsCheckedBeforeTheWindowOpens() {
        QFETCH(QStringList, args);
        QFETCH(QString, refusal);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"}) {
            env.remove(u(name));
        }
        env.insert(u("LANG"), u("en_US.UTF-8"));
        // Listing cameras leaves the multimedia back end's device-monitor thread running at exit,
        // where the leak checker of a sanitizer build fails to stop it and aborts.
        env.insert(u("ASAN_OPTIONS"), env.value(u("ASAN_OPTIONS")) + u(":detect_leaks=0"));
        QProcess program;
        program.setProcessEnvironment(env);
        program.start(u(LUMOTRIX_PATH), args + QStringList{u("-platform"), u("offscreen")});
        if (refusal.isEmpty()) {
            QVERIFY(!program.waitForFinished(1500));  // still running: the window is open
            program.kill();
            program.waitForFinished();
            return;
        }
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitCode(), args.contains(u("--list-cameras")) ? 0 : 2);
        const QString err = QString::fromUtf8(program.readAllStandardError());
        QVERIFY2(err.contains(refusal), qPrintable(err));
    }

    // Which controls drive the wizard is proven byte for byte end to end (tests/e2e); here: which
    // page shows, what the button row allows, and the pick count.
    void controlsDriveTheSessionAndOnePageShows() {
        const auto shown = [this] {
            QStringList names;
            for (QWidget* page : w().centralWidget()->findChildren<QGroupBox*>(
                     QString(), Qt::FindDirectChildrenOnly)) {
                if (page->isVisible()) {
                    names << page->objectName();
                }
            }
            return names.join(QLatin1Char(' '));
        };
        QCOMPARE(shown(), u("Cell Frame1"));
        w().parameterPage()->scanBox()->setEditText(u("2"));
        const char* pages[] = {"OeFrame", "DisFrame", "HangFrame"};
        for (const char* page : pages) {
            w().nextButton()->click();
            QCOMPARE(shown(), u(page));
        }
        QVERIFY(w().previousButton()->isEnabled() && !w().completeButton()->isEnabled());
        clickCell(PickGrid::Rows, 3, 5);
        QCOMPARE(w().pickCountLabel()->text(), u("1/2"));
        clickCell(PickGrid::Rows, 1, 2);
        QCOMPARE(shown(), u("LieFrame"));
        clickCell(PickGrid::Columns, 2, 9);
        QCOMPARE(w().pickCountLabel()->text(), u("1列"));
        QVERIFY(w().completeButton()->isEnabled() && !w().nextButton()->isEnabled());
    }

    // Tab from the width box goes through every control in the order it always has.
    void tabVisitsTheControlsInTheirOrder() {
        QStringList visited;
        QWidget* first = w().parameterPage()->widthEdit();
        for (QWidget* at = first->nextInFocusChain(); at != first; at = at->nextInFocusChain()) {
            visited << (at->focusPolicy() & Qt::TabFocus ? at->objectName() : QString());
        }
        visited.removeAll(QString());
        QCOMPARE(visited.join(u(" ")),
                 u("LedHeigh LedColor LedScan LedInNum Pre NextB Complete Open DownLoad Combo1 "
                   "OeDis(0) OeDis(1) OeSelect(0) OeSelect(1) DisSelect(0) DisSelect(1) DisDis(0) "
                   "DisDis(1) HangGrid LieGrid Text2 Command1 Command2 Text1 Text3 Text4 Text5 "
                   "Undo"));
    }

    void gridCellsShowPicksAndGuides() {
        next(4);
        for (const auto& [row, col] : {std::pair{2, 3}, {2, 3}, {4, 4}, {2, 3}}) {
            clickCell(PickGrid::Columns, row, col);
        }
        const PickGridModel& m = w().pickPage(PickGrid::Columns)->grid()->gridModel();
        const auto cell = [&m](int row, int col, int role) {
            return m.data(m.index(row - 1, col - 1), role);
        };
        QCOMPARE(cell(2, 3, Qt::BackgroundRole).value<QColor>(), PickGridModel::kRepeated);
        QCOMPARE(cell(2, 3, Qt::DisplayRole).toString(), u("1…4"));
        QCOMPARE(cell(4, 4, Qt::BackgroundRole).value<QColor>(), PickGridModel::kPicked);
        QCOMPARE(cell(4, 4, Qt::DisplayRole).toString(), u("3"));
        QCOMPARE(cell(4, 4, Qt::ForegroundRole).value<QColor>(), QColor(Qt::white));  // on red
        for (const auto& [row, col] : {std::pair{4, 2}, {3, 9}}) {
            QCOMPARE(cell(row, col, Qt::BackgroundRole).value<QColor>(), PickGridModel::kGuide);
        }
        QVERIFY(cell(3, 2, Qt::BackgroundRole).value<QColor>() != PickGridModel::kGuide);
        const PickGridModel& rows = w().pickPage(PickGrid::Rows)->grid()->gridModel();
        QVERIFY(rows.isGuide(5, 2) && !rows.isGuide(4, 9));
        for (const auto& [section, orientation] :
             {std::pair{63, Qt::Horizontal}, {4, Qt::Vertical}}) {
            QCOMPARE(m.headerData(section, orientation, Qt::DisplayRole).toString(),
                     QString::number(section + 1));
            QCOMPARE(m.headerData(section, orientation, Qt::TextAlignmentRole).toInt(),
                     int(Qt::AlignCenter));
        }
        // The cell's text is drawn in the font the model gives it.
        FontRecorder recorder;
        QPainter painter(&recorder);
        QStyleOptionViewItem option;
        option.rect = QRect(0, 0, 40, 20);
        const QModelIndex picked = m.index(3, 3);
        w().pickPage(PickGrid::Columns)->grid()->itemDelegate()->paint(&painter, option, picked);
        QCOMPARE(recorder.fonts().size(), 1);
        QCOMPARE(recorder.fonts().first(), cell(4, 4, Qt::FontRole).value<QFont>());
    }

    // The camera button, at the right of the status bar and outside the tab order, opens the
    // camera window; F5 there with no camera asks for one; Esc and closing only pause the walk.
    // The cells the camera asks about are marked on the grid of the page in front.
    void cameraWindowAndMarks() {
        QToolButton* button = w().cameraButton();
        QCOMPARE(button->parentWidget(), w().statusBar());
        QCOMPARE(button->focusPolicy(), Qt::NoFocus);
        button->click();
        CameraWindow* camera = w().camera()->window();
        QVERIFY(camera->isVisible());
        QTest::keyClick(camera, Qt::Key_F5);
        QVERIFY2(camera->statusLabel()->text().startsWith(u("请先选择相机")),
                 qPrintable(camera->statusLabel()->text()));
        QSignalSpy paused(camera, &CameraWindow::pauseWanted);
        QApplication::setActiveWindow(camera);  // the offscreen platform activates no window
        QTest::keyClick(camera, Qt::Key_Escape);
        QCOMPARE(paused.size(), 1);
        QVERIFY(camera->isVisible());
        camera->close();
        QCOMPARE(paused.size(), 2);
        CameraReading lit;
        lit.doubt = CameraReading::Doubt::None;
        lit.led = QPoint(5, 3);
        QCOMPARE(CameraWindow::describe(lit), u("亮的灯：第 3 行 第 5 列"));

        next(3);
        Q_EMIT w().camera()->marksChanged({QPoint(5, 3)});
        const auto background = [this](PickGrid grid) {
            const PickGridModel& m = w().pickPage(grid)->grid()->gridModel();
            return m.data(m.index(2, 4), Qt::BackgroundRole).value<QColor>();
        };
        QCOMPARE(background(PickGrid::Rows), PickGridModel::kMarked);
        QVERIFY(background(PickGrid::Columns) != PickGridModel::kMarked);
        Q_EMIT w().camera()->marksChanged({});
        QVERIFY(background(PickGrid::Rows) != PickGridModel::kMarked);

        // A stop's reason fits beside the camera button, and is whole in the tooltip.
        const QString reason =
            u("请看面板：网格中标出的格子是不是正亮着的那个灯？是，按 F5 继续；"
              "不是，请在相机窗口中改旋转或镜像。");
        QStatusBar* bar = w().statusBar();
        Q_EMIT w().camera()->statusChanged(reason, true);
        QVERIFY(bar->currentMessage().startsWith(u("请看面板：网格中标出的格子")));
        QVERIFY(bar->fontMetrics().horizontalAdvance(bar->currentMessage()) <
                bar->width() - button->width());
        QCOMPARE(bar->toolTip(), reason);
        Q_EMIT w().camera()->statusChanged(u("正在校准"), false);
        QVERIFY(bar->currentMessage().isEmpty());
        QVERIFY(bar->toolTip().isEmpty());
    }

    void keysPickUndoAndZoomButAHeldKeyPicksOnce() {
        next(3);
        PickGridView* grid = w().pickPage(PickGrid::Rows)->grid();
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(1, 1));
        for (bool autoRepeat : {false, true, true}) {  // pressed, then held
            QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, {}, QStringLiteral(" "), autoRepeat);
            QApplication::sendEvent(grid, &space);
        }
        QCOMPARE(w().session().picks(PickGrid::Rows).count(), 1);
        QTest::keyClick(grid, Qt::Key_Return);
        QCOMPARE(w().session().picks(PickGrid::Rows).picksAt(2, 2), (QList<int>{1, 2}));
        QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(w().pickCountLabel()->text(), u("1/16"));
        for (Qt::Key key : {Qt::Key_Minus, Qt::Key_Minus, Qt::Key_Plus}) {
            QTest::keyClick(grid, key, Qt::ControlModifier);
        }
        QCOMPARE(w().pickPage(PickGrid::Columns)->grid()->zoomPercent(), 75);  // both grids
    }

    void addressPanelSendsItsBoxesAndShowsTheAnswer() {
        AddressPanel* panel = w().addressPanel();
        panel->screenNumberEdit()->setText(u("7"));
        panel->ipEdits()[2]->setText(u("1"));
        m_port.answers = {hex("06")};
        panel->setAddressButton()->click();
        QTRY_COMPARE(panel->statusLabel()->text(), u("设置成功"));
        QCOMPARE(m_port.written.last().mid(9, 5), hex("07C0A80164"));
        QByteArray answer = zeros(26);
        answer[0] = 0x5A;
        answer[17] = 9;
        answer[23] = 42;
        m_port.answers = {answer};
        panel->readAddressButton()->click();
        QTRY_COMPARE(panel->statusLabel()->text(), u("读出成功"));
        QCOMPARE(panel->screenNumberEdit()->text() + panel->ipEdits()[1]->text(), u("942"));
        w().nextButton()->click();
        QVERIFY(!panel->statusLabel()->isVisible());
    }

    void mapFilesGoThroughTheDialogs() {
        QTemporaryDir dir;
        const QString file = dir.filePath(u("module.bin"));
        w().parameterPage()->scanBox()->setEditText(u("1"));
        next(3);
        clickCell(PickGrid::Rows, 1, 1);
        m_dialogs.answers = {file, file};
        w().completeButton()->click();
        QVERIFY(QFile::exists(file) && w().downloadButton()->isEnabled());
        QCOMPARE(w().mapStatus()->text(), u("module.bin 可疑：没有列选择"));
        QCOMPARE(title(), u("module.bin - LumotrixV6.1"));
        clickCell(PickGrid::Columns, 1, 1);
        QCOMPARE(title(), u("module.bin* - LumotrixV6.1"));
        w().openButton()->click();
        QCOMPARE(m_dialogs.asked,
                 (QStringList{u("save bin Files(*.bin)|*.bin"), u("open bin Files(*.bin)|*.bin")}));
        QVERIFY(m_notifier.messages.isEmpty());
    }

    void aChosenPortKeepsItsDevice() {
        m_devices = {QStringLiteral("/dev/ttyUSB0"), QStringLiteral("/dev/ttyS0")};  // plugged in
        w().nextButton()->click();
        QCOMPARE(m_port.openedDevices, QStringList{u("/dev/ttyS0")});  // chosen at start-up
        QCOMPARE(w().portList()->toolTip(), u("/dev/ttyS0"));
        w().portList()->showPopup();
        w().portList()->hidePopup();
        QCOMPARE(w().portList()->itemData(0, Qt::ToolTipRole).toString(), u("/dev/ttyUSB0"));
        QCOMPARE(w().portList()->itemData(2, Qt::ToolTipRole).toString(), u("没有找到串口设备"));
        Q_EMIT w().portList()->activated(0);  // chosen again: the device it names now
        QVERIFY(!m_port.isOpen());
        w().previousButton()->click();
        w().nextButton()->click();
        QCOMPARE(m_port.openedDevices.last(), u("/dev/ttyUSB0"));
    }

    void closingAsksOnlyWhilePicksAreUnsaved() {
        QVERIFY(w().close());
        QVERIFY(m_notifier.questions.isEmpty());
        w().show();
        next(3);
        clickCell(PickGrid::Rows, 1, 1);
        QVERIFY(!w().close());
        QCOMPARE(m_notifier.questions.size(), 1);
        m_notifier.discard = true;
        QVERIFY(w().close());
    }

    void everyCaptionFitsItsControl_data() {
        QTest::addColumn<Language>("language");
        QTest::newRow("zh") << Language::Chinese;
        QTest::newRow("en") << Language::English;
    }

    void everyCaptionFitsItsControl() {
        QFETCH(Language, language);
        speak(language);
        // The longest status caption and pick count.
        w().addressPanel()->showStatus(
            QCoreApplication::translate("ControllerCommands", "下载完成"));
        w().pickCountLabel()->setText(
            QCoreApplication::translate("MainWindow", "%n列", nullptr, 128));
        w().addressPanel()->ipEdits()[0]->setText(u("255"));
        int checked = 0;
        for (QWidget* widget : w().findChildren<QWidget*>()) {
            QString caption;
            int room = widget->width();
            if (auto* b = qobject_cast<QAbstractButton*>(widget)) {
                caption = b->text();
                const bool radio = qobject_cast<QRadioButton*>(widget) != nullptr;
                room -= radio ? widget->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                                    widget->style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing)
                              : 4;
            } else if (auto* l = qobject_cast<QLabel*>(widget)) {
                caption = l->text();
            } else if (auto* g = qobject_cast<QGroupBox*>(widget)) {
                caption = g->title();
            } else if (auto* e = qobject_cast<QLineEdit*>(widget)) {
                caption = e->text();
                room -= 4;
            } else if (auto* c = qobject_cast<QComboBox*>(widget)) {
                caption = c->currentText();
                room -= widget->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2;
            }
            if (caption.isEmpty() || widget->objectName().isEmpty()) {
                continue;  // the parts inside a control are the control's own business
            }
            QVERIFY2(language == Language::Chinese ||
                         !caption.contains(QRegularExpression(u("\\p{Han}"))),
                     qPrintable(caption + u(" is not translated")));
            const QFontMetrics fm(widget->font());
            QVERIFY2(fm.boundingRect(caption).width() <= room,
                     qPrintable(widget->objectName() + u(" \"") + caption + u("\" does not fit")));
            ++checked;
        }
        QVERIFY(checked >= 35);
        for (QGroupBox* box : w().findChildren<QGroupBox*>()) {  // nothing covers a page's caption
            QStyleOptionGroupBox option;
            option.initFrom(box);
            option.text = box->title();
            const QRect title = box->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                             QStyle::SC_GroupBoxLabel, box);
            for (QWidget* child : box->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                QVERIFY2(box->title().isEmpty() || !child->geometry().intersects(title),
                         qPrintable(child->objectName() + u(" covers ") + box->title()));
            }
        }
    }

    // A failure that no handler expects is shown as an internal error with its text, and the
    // program goes on.
    void unexpectedFailureIsShownAsAnInternalError() {
        QString shown;
        QTimer::singleShot(0, this, [] { throw std::logic_error("a fault inside"); });
        QTimer::singleShot(0, this, [&shown] {  // runs inside the message box
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            shown = box->text();
            box->accept();
        });
        QTRY_VERIFY2(shown.startsWith(u("内部错误：a fault inside")), qPrintable(shown));
    }

private:
    MainWindow& w() { return *m_w; }
    // A new window speaking language.
    void speak(Language language) {
        m_w.reset();
        Languages::use(language);
        const PortNames names([this] { return m_devices; },
                              [](const QString&) { return QString(); });
        m_w = std::make_unique<MainWindow>(MainWindow::Seams{m_port, m_notifier, m_dialogs, names});
        m_w->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_w.get()));
    }

    void clickCell(PickGrid grid, int row, int col) {
        PickGridView* view = w().pickPage(grid)->grid();
        const QRect cell = view->visualRect(view->model()->index(row - 1, col - 1));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    }

    // Presses 下一步 times times.
    void next(int times) {
        for (int i = 0; i < times; ++i) {
            w().nextButton()->click();
        }
    }

    QString title() { return m_w->windowHandle()->title(); }

    FakeSerialPort m_port;
    RecordingNotifier m_notifier;
    ScriptedDialogs m_dialogs;
    QStringList m_devices{QStringLiteral("/dev/ttyS0")};
    std::unique_ptr<MainWindow> m_w;
    QTemporaryDir m_settings;
};

int main(int argc, char* argv[]) {
    Application app(argc, argv);  // the program's own, which catches what no handler expects
    app.setAttribute(Qt::AA_Use96Dpi, true);
    WindowTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_window.moc"
