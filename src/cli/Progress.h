#pragma once

#include <QString>
#include <QTextStream>

// Shows how far a download has come, on standard error. On a terminal one bar is redrawn in
// place: "[##########------] 10/16"; elsewhere (a log file, a pipe) each acknowledged data
// packet gets a line of its own: "data packet 10 of 16 acknowledged".
class Progress {
public:
    static constexpr int kDataPackets = 16;

    Progress(QTextStream& err, bool terminal) : m_err(err), m_terminal(terminal) {}

    // Data packet n (1..16) was acknowledged.
    void acknowledged(int n);
    // Ends the bar's line, so that what follows starts on a line of its own.
    void finish();

private:
    QTextStream& m_err;
    bool m_terminal = false;
    bool m_barShown = false;
};
