#include "session/ControllerCommands.h"

#include "session/MappingSession.h"
#include "session/Messages.h"
#include "session/Notifier.h"

ControllerCommands::ControllerCommands(MappingSession& session, Link& link, Notifier& notifier,
                                       QObject* parent)
    : QObject(parent), m_session(session), m_notifier(notifier), m_address(link), m_download(link) {
    connect(&m_address, &AddressExchange::finished, this, &ControllerCommands::onAddressFinished);
    connect(&m_download, &DownloadExchange::acknowledged, this,
            [this](int n) { Q_EMIT statusChanged(tr("下载%1").arg(n)); });
    connect(&m_download, &DownloadExchange::finished, this,
            &ControllerCommands::onDownloadFinished);
}

void ControllerCommands::begin(const QString& caption) {
    Q_EMIT statusChanged(caption);
    m_session.setExchangeRunning(true);
}

void ControllerCommands::setAddress(const QString& screen, const std::array<QString, 4>& ip) {
    if (!m_session.isEnabled(MappingSession::Control::SetAddress)) {
        return;
    }
    const ScreenAddress::Reading reading = ScreenAddress::read(screen, ip);
    if (!reading.address) {
        m_notifier.showMessage(reading.refused == ScreenAddress::Refused::Screen
                                   ? Messages::screenRange()
                                   : Messages::ipRange());
        return;
    }
    m_reading = false;
    begin(tr("设置地址"));
    m_address.startSet(*reading.address);
}

void ControllerCommands::readAddress() {
    if (!m_session.isEnabled(MappingSession::Control::ReadAddress)) {
        return;
    }
    m_reading = true;
    begin(tr("读出地址"));
    m_address.startRead();
}

void ControllerCommands::onAddressFinished(const ExchangeOutcome& outcome,
                                           const ScreenAddress& address) {
    m_session.setExchangeRunning(false);
    if (outcome.kind == ExchangeOutcome::Kind::PortFailed) {
        m_notifier.showMessage(Messages::portBusy());
        return;
    }
    const bool done = outcome.kind == ExchangeOutcome::Kind::Done;
    if (!m_reading) {
        Q_EMIT statusChanged(done ? tr("设置成功") : tr("设置失败"));
        return;
    }
    Q_EMIT statusChanged(done ? tr("读出成功") : tr("读出失败"));
    if (done) {
        Q_EMIT addressRead(address);
    }
}

void ControllerCommands::download() {
    if (!m_session.isEnabled(MappingSession::Control::Download)) {
        return;
    }
    m_session.returnToParameters();
    begin(tr("下载%1").arg(0));
    m_download.start(m_session.image().toBytes());
}

void ControllerCommands::onDownloadFinished(const ExchangeOutcome& outcome) {
    m_session.setExchangeRunning(false);
    switch (outcome.kind) {
        case ExchangeOutcome::Kind::Done:
            Q_EMIT statusChanged(tr("下载完成"));
            return;
        case ExchangeOutcome::Kind::NotAccepted:
            Q_EMIT statusChanged(tr("下载失败"));
            return;
        case ExchangeOutcome::Kind::PortFailed:
            m_notifier.showMessage(Messages::portBusy());
            return;
    }
}
