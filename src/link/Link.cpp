#include "Link.h"

#include <utility>

#include "SerialPort.h"

Link::Link(SerialPort& port, std::function<QString(int)> resolveName)
    : m_port(port), m_resolveName(std::move(resolveName)) {}

void Link::setPortNumber(Int16 number) { m_portNumber = number; }

bool Link::isOpen() const { return m_port.isOpen(); }

void Link::onCombo1Click(int listIndex) { setPortNumber(Int16(listIndex) + 1); }
