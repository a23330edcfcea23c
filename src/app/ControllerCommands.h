#pragma once

#include <QList>
#include <QPair>

#include "AddressExchange.h"
#include "DownloadExchange.h"

class OE;
class Link;
class Notifier;
class QWidget;
class IntervalTimer;

// The clicks that exchange packets with the controller and report in the status line Label6:
// Command1 writes the screen number and IP address ("设置地址" -> "设置成功" / "设置失败"),
// Command2 reads them into the five boxes ("读出地址" -> "读出成功" / "读出失败"), and DownLoad
// returns the wizard to its first page and sends the map image ("下载0", "下载1" .. "下载16",
// then "下载完成" or "下载失败").
//
// The five boxes are checked before the port is touched; a value outside 0..255 is named in a
// message and nothing is sent. A port failure shows "串口被占用". While an exchange runs,
// nothing else that sends can start: the wizard's buttons and grids, Command1, Command2,
// DownLoad, Open, Complete and the port list are disabled and the blink paused, and afterwards
// each is as the exchange's end requires.
class ControllerCommands {
public:
    ControllerCommands(OE& window, Link& link, Notifier& notifier);
    ControllerCommands(const ControllerCommands&) = delete;
    ControllerCommands& operator=(const ControllerCommands&) = delete;

    void onCommand1Clicked();
    void onCommand2Clicked();
    void onDownLoadClicked();
    bool isBusy() const { return m_address.isRunning() || m_download.isRunning(); }

private:
    void lockControls();
    void unlockControls();
    void status(const QString& caption);
    void status(const char* utf8);
    void onAddressFinished(const ExchangeOutcome& outcome, const ControllerAnswers::Address& a);
    void onDownloadFinished(const ExchangeOutcome& outcome);
    void returnToFirstPage();

    OE& m_window;
    Notifier& m_notifier;
    AddressExchange m_address;
    DownloadExchange m_download;
    bool m_reading = false;
    QList<QPair<QWidget*, bool>> m_locked;  // each control and whether it was enabled
    QList<IntervalTimer*> m_pausedTimers;
};
