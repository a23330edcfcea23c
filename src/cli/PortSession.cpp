#include "cli/PortSession.h"

#include <QEventLoop>

PortSession::PortSession(SerialPort& port, const PortTarget& target, QObject* parent)
    : QObject(parent), m_link(port), m_download(m_link), m_address(m_link) {
    // A COM name that stands for no device makes the link report "COMn: no serial device".
    m_link.choosePort(target.label, target.device);
    connect(&m_download, &DownloadExchange::acknowledged, this,
            [this](int n) { Q_EMIT acknowledged(m_job.id, n); });
    connect(&m_download, &DownloadExchange::finished, this, &PortSession::onDownloadFinished);
    connect(&m_address, &AddressExchange::finished, this, &PortSession::onAddressFinished);
}

void PortSession::run(const PortJob& job) {
    m_job = job;
    m_clock.start();
    if (!m_job.image.isEmpty()) {
        return m_download.start(m_job.image);
    }
    startAddressStep();
}

void PortSession::startAddressStep() {
    if (m_job.setAddress) {
        return m_address.startSet(*m_job.setAddress);
    }
    if (m_job.readAddress) {
        return m_address.startRead();
    }
    finish(PortJobResult::Step::None, {});
}

void PortSession::onDownloadFinished(const ExchangeOutcome& outcome) {
    if (outcome.kind != ExchangeOutcome::Kind::Done || (!m_job.setAddress && !m_job.readAddress)) {
        return finish(PortJobResult::Step::Download, outcome);
    }
    startAddressStep();
}

void PortSession::onAddressFinished(const ExchangeOutcome& outcome, const ScreenAddress& address) {
    finish(m_job.setAddress ? PortJobResult::Step::SetAddress : PortJobResult::Step::ReadAddress,
           outcome, address);
}

void PortSession::finish(PortJobResult::Step step, const ExchangeOutcome& outcome,
                         const ScreenAddress& address) {
    PortJobResult result;
    result.id = m_job.id;
    result.step = step;
    result.outcome = outcome;
    result.address = address;
    result.elapsed = std::chrono::milliseconds(m_clock.elapsed());
    Q_EMIT finished(result);
}

PortJobResult PortSession::runToEnd(const PortJob& job) {
    std::optional<PortJobResult> result;
    QEventLoop loop;
    const auto connection =
        connect(this, &PortSession::finished, &loop, [&result, &loop](const PortJobResult& r) {
            result = r;
            loop.quit();
        });
    run(job);
    if (!result) {
        loop.exec();
    }
    disconnect(connection);
    return *result;
}
