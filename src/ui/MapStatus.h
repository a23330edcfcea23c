#pragma once

#include <QStringList>
#include <QWidget>

#include "mapfile/DecodedMap.h"

class QLabel;

// The status bar's account of the map file opened or saved last: its name and the module it
// is for, as DecodedMap reads it ("module.bin: 64 × 32, 单色, 扫描 16, 16 行 8 列"). A file
// in which the decoder finds something wrong (any finding) is named suspect instead, with a
// warning icon and what is wrong ("bad.bin 可疑：扫描周期 20 不在 1 到 16 之间；没有列选择");
// the module then shows in the tooltip. A text longer than the bar ends in "…" and shows whole
// in the tooltip. Empty until the first file.
class MapStatus : public QWidget {
    Q_OBJECT
public:
    explicit MapStatus(QWidget* parent);

    void showMap(const QString& fileName, const DecodedMap& map);
    // The whole text shown, and whether it warns.
    QString text() const { return m_text; }
    bool warns() const;

    // The module in one line, and each finding in a few words, once per kind.
    static QString summary(const QString& fileName, const DecodedMap& map);
    static QStringList findingTexts(const DecodedMap& map);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void elide();

    QLabel* m_icon = nullptr;
    QLabel* m_label = nullptr;
    QString m_text;
};
