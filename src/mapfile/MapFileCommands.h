#pragma once

#include <functional>

struct WindowState;
class FileDialogs;
class Notifier;

// The clicks of Complete and Open.
//
// Complete builds the map image from the scan map buffer (word 7 becomes the column extent and
// word 5 carries the marker of the first column pick), then asks for a file name and writes the
// 2048 bytes. A map that cannot be built is explained in a message and nothing is asked or
// written. A cancelled dialog writes nothing but keeps the rebuilt image. Open reads a file into
// the image and touches nothing else. A file that cannot be written or read is explained in a
// message, and the image stays as it was. Both enable DownLoad once a file was written or read.
// After a save, picks that repeat an earlier pick are named in a message.
class MapFileCommands {
public:
    MapFileCommands(WindowState& state, FileDialogs& dialogs, Notifier& notifier,
                    std::function<void()> enableDownload);

    void onCompleteClicked();
    void onOpenClicked();

private:
    WindowState& m_state;
    FileDialogs& m_dialogs;
    Notifier& m_notifier;
    std::function<void()> m_enableDownload;
};
