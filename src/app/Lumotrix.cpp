#include "Lumotrix.h"

#include <utility>

Lumotrix::Lumotrix(SerialPort& port, Notifier& notifier,
                   std::function<QString(int)> resolvePortName)
    : m_notifier(notifier), m_link(port, std::move(resolvePortName)), m_window(m_link) {}
