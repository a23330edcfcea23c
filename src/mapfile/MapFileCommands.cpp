#include "MapFileCommands.h"

#include <utility>

#include "Errors.h"
#include "FileDialogs.h"
#include "MapFile.h"
#include "MapImageBuilder.h"
#include "Notifier.h"
#include "RepeatedPicks.h"
#include "WindowState.h"

MapFileCommands::MapFileCommands(WindowState& state, FileDialogs& dialogs, Notifier& notifier,
                                 std::function<void()> enableDownload)
    : m_state(state),
      m_dialogs(dialogs),
      m_notifier(notifier),
      m_enableDownload(std::move(enableDownload)) {}

void MapFileCommands::onCompleteClicked() {
    try {
        const MapImageBuilder::Result built = MapImageBuilder::build(
            m_state.dataBuffer, m_state.DataBufferP, m_state.rowPicksMade, m_state.mapImage);
        m_state.dataBuffer.set(7, built.word7);
        m_state.dataBuffer.set(5, built.word5);
        m_state.mapImage = built.image;

        const QString path =
            m_dialogs.askSaveFileName(QString::fromUtf8(MapFile::kFilterDescription),
                                      QString::fromUtf8(MapFile::kFilterPattern));
        if (path.isEmpty()) {
            return;
        }
        MapFile::save(path, m_state.mapImage);
        m_state.picksUnsaved = false;
        m_enableDownload();
        const QStringList repeats = RepeatedPicks::find(m_state.dataBuffer, m_state.DataBufferP);
        if (!repeats.isEmpty()) {
            m_notifier.showMessage(QString::fromUtf8("地图已保存，但有重复的选择：\n") +
                                   repeats.join(QLatin1Char('\n')) +
                                   QString::fromUtf8("\n如果选错了，请回到那一步重选后再保存。"));
        }
    } catch (const LumotrixError& e) {
        m_notifier.showMessage(QString::fromUtf8(e.what()));
    }
}

void MapFileCommands::onOpenClicked() {
    try {
        const QString path =
            m_dialogs.askOpenFileName(QString::fromUtf8(MapFile::kFilterDescription),
                                      QString::fromUtf8(MapFile::kFilterPattern));
        if (path.isEmpty()) {
            return;
        }
        m_state.mapImage = MapFile::load(path);
        m_enableDownload();
    } catch (const LumotrixError& e) {
        m_notifier.showMessage(QString::fromUtf8(e.what()));
    }
}
