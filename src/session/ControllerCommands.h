#pragma once

#include <QObject>
#include <QString>
#include <array>

#include "link/AddressExchange.h"
#include "link/ControllerAnswers.h"
#include "link/DownloadExchange.h"

class Link;
class MappingSession;
class Notifier;

// The commands that exchange packets with the controller and report in the status line:
// writing the screen number and IP address ("设置地址" -> "设置成功" / "设置失败"), reading them
// ("读出地址" -> "读出成功" / "读出失败", and the values), and the download, which first returns
// the wizard to its first page ("下载0", "下载1" .. "下载16", then "下载完成" or "下载失败").
//
// The address values are checked before the port is touched; one outside 0..255 is named in a
// message and nothing is sent or shown in the status line. A port failure shows "串口被占用".
// While an exchange runs the session refuses everything else that sends.
class ControllerCommands : public QObject {
    Q_OBJECT
public:
    ControllerCommands(MappingSession& session, Link& link, Notifier& notifier,
                       QObject* parent = nullptr);

    // The texts of the screen number box and the four IP boxes, first octet first.
    void setAddress(const QString& screen, const std::array<QString, 4>& ip);
    void readAddress();
    void download();
    bool isBusy() const { return m_address.isRunning() || m_download.isRunning(); }

Q_SIGNALS:
    void statusChanged(const QString& caption);
    void addressRead(const ScreenAddress& address);

private:
    void begin(const QString& caption);
    void onAddressFinished(const ExchangeOutcome& outcome, const ScreenAddress& address);
    void onDownloadFinished(const ExchangeOutcome& outcome);

    MappingSession& m_session;
    Notifier& m_notifier;
    AddressExchange m_address;
    DownloadExchange m_download;
    bool m_reading = false;
};
