#include "ControllerCommands.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "Errors.h"
#include "FlexGrid.h"
#include "IntervalTimer.h"
#include "Messages.h"
#include "Notifier.h"
#include "OE.h"
#include "StatusLabel.h"
#include "TextNumber.h"

namespace {

// The byte in a box, or InputError with the message naming the box.
int boxValue(const QLineEdit* box, const char* message) {
    const qint64 value = readTextNumber(box->text());
    if (value < 0 || value > 255) {
        throw InputError(message);
    }
    return static_cast<int>(value);
}

}  // namespace

ControllerCommands::ControllerCommands(OE& window, Link& link, Notifier& notifier)
    : m_window(window), m_notifier(notifier), m_address(link), m_download(link) {
    QObject::connect(&m_address, &AddressExchange::finished,
                     [this](const ExchangeOutcome& o, const ControllerAnswers::Address& a) {
                         onAddressFinished(o, a);
                     });
    QObject::connect(&m_download, &DownloadExchange::acknowledged,
                     [this](int n) { status(QString::fromUtf8("下载") + QString::number(n)); });
    QObject::connect(&m_download, &DownloadExchange::finished,
                     [this](const ExchangeOutcome& o) { onDownloadFinished(o); });
}

void ControllerCommands::status(const QString& caption) {
    auto* label = static_cast<StatusLabel*>(m_window.controls().Label6);
    label->setVisible(true);
    label->setCaption(caption);
}

void ControllerCommands::status(const char* utf8) {
    status(QString::fromUtf8(utf8));
}

void ControllerCommands::onCommand1Clicked() {
    if (isBusy()) {
        return;
    }
    const OEControls& c = m_window.controls();
    int screen = 0;
    std::array<int, 4> ip{};
    try {
        screen = boxValue(c.Text2, Messages::kScreenRange);
        const QLineEdit* octets[] = {c.Text1, c.Text3, c.Text4, c.Text5};
        for (std::size_t i = 0; i < ip.size(); ++i) {
            ip[i] = boxValue(octets[i], Messages::kIpRange);
        }
    } catch (const InputError& e) {
        m_notifier.showMessage(QString::fromUtf8(e.what()));
        return;
    }
    status("设置地址");
    m_reading = false;
    lockControls();
    m_address.startSet(screen, ip);
}

void ControllerCommands::onCommand2Clicked() {
    if (isBusy()) {
        return;
    }
    status("读出地址");
    m_reading = true;
    lockControls();
    m_address.startRead();
}

void ControllerCommands::onAddressFinished(const ExchangeOutcome& outcome,
                                           const ControllerAnswers::Address& address) {
    unlockControls();
    if (outcome.kind == ExchangeOutcome::Kind::PortFailed) {
        m_notifier.showMessage(QString::fromUtf8(Messages::kPortBusy));
        return;
    }
    const bool done = outcome.kind == ExchangeOutcome::Kind::Done;
    if (!m_reading) {
        status(done ? "设置成功" : "设置失败");
        return;
    }
    status(done ? "读出成功" : "读出失败");
    if (done) {
        const OEControls& c = m_window.controls();
        c.Text2->setText(QString::number(address.screen));
        QLineEdit* octets[] = {c.Text1, c.Text3, c.Text4, c.Text5};
        for (std::size_t i = 0; i < address.ip.size(); ++i) {
            octets[i]->setText(QString::number(address.ip[i]));
        }
    }
}

void ControllerCommands::onDownLoadClicked() {
    if (isBusy()) {
        return;
    }
    returnToFirstPage();
    status("下载0");
    lockControls();
    m_download.start(m_window.state().mapImage.toBytes());
}

void ControllerCommands::returnToFirstPage() {
    const OEControls& c = m_window.controls();
    m_window.state().StepNum = 1;
    c.Pre->setEnabled(false);
    c.Complete->setEnabled(false);
    c.NextB->setEnabled(true);
    c.OeTimer->setEnabled(false);
    c.DisTimer->setEnabled(false);
    c.PickCount->setVisible(false);
    m_window.showParameterPage();
}

void ControllerCommands::onDownloadFinished(const ExchangeOutcome& outcome) {
    unlockControls();
    switch (outcome.kind) {
        case ExchangeOutcome::Kind::Done:
            return status("下载完成");
        case ExchangeOutcome::Kind::NotAccepted:
            return status("下载失败");
        case ExchangeOutcome::Kind::PortFailed:
            m_notifier.showMessage(QString::fromUtf8(Messages::kPortBusy));
            return;
    }
}

void ControllerCommands::lockControls() {
    const OEControls& c = m_window.controls();
    const QList<QWidget*> senders = {c.Pre,      c.NextB,   c.Undo,     c.Complete,
                                     c.HangGrid, c.LieGrid, c.Command1, c.Command2,
                                     c.DownLoad, c.Open,    c.Combo1};
    m_locked.clear();
    for (QWidget* w : senders) {
        m_locked.append({w, w->isEnabled()});
        w->setEnabled(false);
    }
    m_pausedTimers.clear();
    for (IntervalTimer* timer : {c.OeTimer, c.DisTimer}) {
        if (timer->isEnabled()) {
            m_pausedTimers.append(timer);
            timer->setEnabled(false);
        }
    }
}

void ControllerCommands::unlockControls() {
    for (const auto& [widget, enabled] : m_locked) {
        widget->setEnabled(enabled);
    }
    m_locked.clear();
    for (IntervalTimer* timer : m_pausedTimers) {
        timer->setEnabled(true);
    }
    m_pausedTimers.clear();
}
