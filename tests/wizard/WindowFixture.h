#pragma once

#include <QByteArray>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <functional>
#include <memory>

#include "FakeSerialPort.h"
#include "FlexGrid.h"
#include "IntervalTimer.h"
#include "Lumotrix.h"
#include "RecordingNotifier.h"
#include "ScriptedDialogs.h"

// The recording port with a hook run before each write, to fail one write of several.
struct HookedPort : FakeSerialPort {
    std::function<void()> onWrite;
    void write(const QByteArray& bytes) override {
        if (onWrite) {
            onWrite();
        }
        FakeSerialPort::write(bytes);
    }
};

// The recording notifier with a hook run while a message is "open", as a modal box would let
// timer events run.
struct HookedNotifier : RecordingNotifier {
    std::function<void()> whileOpen;
    void showMessage(const QString& text) override {
        RecordingNotifier::showMessage(text);
        if (whileOpen) {
            whileOpen();
        }
    }
};

// The whole program on a recording port, started up, for tests that click through the window.
struct WindowFixture {
    HookedPort port;
    HookedNotifier notifier;
    ScriptedDialogs dialogs;
    std::unique_ptr<Lumotrix> program;

    WindowFixture() {
        program = std::make_unique<Lumotrix>(Lumotrix::Seams{
            port, notifier, dialogs, [](int n) { return QStringLiteral("COM%1").arg(n); }});
        program->startUp();
    }

    OE& window() { return program->window(); }
    const OEControls& c() { return program->window().controls(); }
    WindowState& state() { return program->window().state(); }
    int word(int position) { return state().dataBuffer.at(position).value(); }

    void clickNext() { c().NextB->click(); }
    void clickPre() { c().Pre->click(); }
    // From page 1 with the given width and height to the page `page`, choosing "1亮" twice.
    void goToPage(int page, const QString& width = QStringLiteral("64"),
                  const QString& height = QStringLiteral("32")) {
        c().LedWidth->setText(width);
        c().LedHeigh->setText(height);
        while (state().StepNum.value() < page) {
            clickNext();
        }
    }
    // A click on a data cell of a pick grid, as the grid reports it.
    void pick(FlexGrid* grid, int row, int col) {
        grid->setCurrentIndex(grid->model()->index(row - 1, col - 1));
        Q_EMIT grid->clicked(grid->currentIndex());
    }
    // The page in front, by its frame's name.
    QString front() {
        for (QGroupBox* f : {c().OeFrame, c().DisFrame, c().HangFrame, c().LieFrame}) {
            if (!f->isHidden()) {
                return f->objectName();
            }
        }
        return c().Cell->isHidden() ? QString() : QStringLiteral("Cell");
    }
};

inline QByteArray hex(const char* text) {
    return QByteArray::fromHex(text);
}
