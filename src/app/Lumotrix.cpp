#include "Lumotrix.h"

#include <utility>

Lumotrix::Lumotrix(SerialPort& port, Notifier& notifier,
                   std::function<QString(int)> resolvePortName)
    : m_notifier(notifier),
      m_link(port, std::move(resolvePortName)),
      m_window(m_link),
      m_wizard(WizardContext{m_window.controls(), m_window.state(), m_window.frames(), m_link,
                             m_notifier}) {}
