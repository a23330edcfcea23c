#include "cli/Progress.h"

void Progress::acknowledged(int n) {
    if (!m_terminal) {
        m_err << "data packet " << n << " of " << kDataPackets << " acknowledged\n";
        m_err.flush();
        return;
    }
    const QString bar = QString(n, QLatin1Char('#')) + QString(kDataPackets - n, QLatin1Char('-'));
    m_err << "\r[" << bar << "] " << n << '/' << kDataPackets;
    m_err.flush();
    m_barShown = true;
}

void Progress::finish() {
    if (m_barShown) {
        m_err << '\n';
        m_err.flush();
        m_barShown = false;
    }
}
