#pragma once

#include <QByteArray>
#include <QMetaType>
#include <chrono>
#include <optional>

#include "link/ExchangeOutcome.h"
#include "link/ScreenAddress.h"

// One unit of work on one port: a download (when there is an image), then SetAddress (when
// given) or else ReadAddress (when asked for). The steps run in that order and stop at the
// first that does not end Done.
struct PortJob {
    // Chosen by the caller; carried into the result (a plan's line number, for instance).
    int id = 0;
    // The map image to download; empty for no download.
    QByteArray image;
    // Written to the controller after the download (or alone, without an image).
    std::optional<ScreenAddress> setAddress;
    bool readAddress = false;
};

// How a PortJob ended.
struct PortJobResult {
    enum class Step { None, Download, SetAddress, ReadAddress };

    int id = 0;
    // The last step run: the one that failed, or the last of a job that ended Done.
    Step step = Step::None;
    // Its outcome: packet is 1..16 for a download's data packet, 17 for its closing packet,
    // 1 for an address packet, 0 when the port failed before anything was sent.
    ExchangeOutcome outcome;
    // What ReadAddress brought back (Done only).
    ScreenAddress address;
    std::chrono::milliseconds elapsed{0};
};

Q_DECLARE_METATYPE(PortJobResult)
