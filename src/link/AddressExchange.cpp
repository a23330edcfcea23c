#include "link/AddressExchange.h"

#include "core/Errors.h"
#include "link/Link.h"
#include "link/Packets.h"

AddressExchange::AddressExchange(Link& link, QObject* parent) : QObject(parent), m_link(link) {
    m_wait.setSingleShot(true);
    m_wait.setTimerType(Qt::PreciseTimer);
    connect(&m_wait, &QTimer::timeout, this, &AddressExchange::onAnswerDue);
}

AddressExchange::~AddressExchange() {
    cancel();
}

void AddressExchange::startSet(const ScreenAddress& address) {
    const auto& ip = address.ip;
    start(Packets::setAddress(address.screen, {ip[0], ip[1], ip[2], ip[3]}), false);
}

void AddressExchange::startRead() {
    start(Packets::readAddress(), true);
}

void AddressExchange::start(const QByteArray& packet, bool read) {
    m_running = true;
    m_read = read;
    try {
        m_link.sendRequest(packet);
        m_link.drain();
    } catch (const PortError& e) {
        return end({ExchangeOutcome::Kind::PortFailed, 1, QString::fromUtf8(e.what())});
    }
    m_wait.start(Link::kAnswerWait);
}

void AddressExchange::onAnswerDue() {
    std::optional<QByteArray> answer;
    try {
        answer = m_link.takeAnswer();
    } catch (const PortError& e) {
        return end({ExchangeOutcome::Kind::PortFailed, 1, QString::fromUtf8(e.what())});
    }
    const QByteArray bytes = answer.value_or(QByteArray());
    if (m_read) {
        const auto address = ControllerAnswers::readAddress(bytes);
        return address ? end({ExchangeOutcome::Kind::Done, 1, {}}, *address)
                       : end({ExchangeOutcome::Kind::NotAccepted, 1, {}});
    }
    end({ControllerAnswers::isAcknowledge(bytes) ? ExchangeOutcome::Kind::Done
                                                 : ExchangeOutcome::Kind::NotAccepted,
         1,
         {}});
}

void AddressExchange::end(ExchangeOutcome outcome, const ScreenAddress& address) {
    m_wait.stop();
    m_link.closePort();
    m_running = false;
    Q_EMIT finished(outcome, address);
}

void AddressExchange::cancel() {
    if (!m_running) {
        return;
    }
    m_wait.stop();
    m_running = false;
    m_link.closePort();
}
