#include "ui/MapStatus.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>

namespace {

using Finding = DecodedMap::Finding;

int count(const DecodedMap& map, Finding finding) {
    return static_cast<int>(map.findings.count(finding));
}

}  // namespace

MapStatus::MapStatus(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("MapStatus"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_icon = new QLabel(this);
    const int side = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
    m_icon->setPixmap(
        style()->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, this).pixmap(side, side));
    m_icon->setVisible(false);
    m_label = new QLabel(this);
    // A long name must not make the window wider: the text is cut to the room there is.
    m_label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    layout->addWidget(m_icon);
    layout->addWidget(m_label, 1);
}

QString MapStatus::summary(const QString& fileName, const DecodedMap& map) {
    const QString colour = map.colour == 0   ? tr("单色")
                           : map.colour == 1 ? tr("双色")
                                             : tr("颜色 %1").arg(map.colour);
    return tr("%1: %2 × %3, %4, 扫描 %5, %6 行 %7 列")
        .arg(fileName)
        .arg(map.width)
        .arg(map.height)
        .arg(colour)
        .arg(map.scanCount)
        .arg(map.rowEntries.size())
        .arg(map.columnEntries.size());
}

QStringList MapStatus::findingTexts(const DecodedMap& map) {
    const std::pair<Finding, QString> texts[] = {
        {Finding::FileSize, tr("文件长度不对")},
        {Finding::NoPixels, tr("模块大小为 0")},
        {Finding::Colour, tr("颜色值 %1 不对").arg(map.colour)},
        {Finding::ScanCount, tr("扫描周期 %1 不在 1 到 16 之间").arg(map.scanCount)},
        {Finding::RedGreen, tr("红绿数量不对")},
        {Finding::OePolarity, tr("OE极性不对")},
        {Finding::DisplayPolarity, tr("显示极性不对")},
        {Finding::ColumnExtent, tr("列数不对")},
        {Finding::RowEntryOutside,
         tr("%n 个行选择在模块之外", nullptr, count(map, Finding::RowEntryOutside))},
        {Finding::RowEntryRepeated,
         tr("%n 个行选择重复", nullptr, count(map, Finding::RowEntryRepeated))},
        {Finding::ColumnEntryOutside,
         tr("%n 个列选择在模块之外", nullptr, count(map, Finding::ColumnEntryOutside))},
        {Finding::NoColumnEntries, tr("没有列选择")},
    };
    QStringList found;
    for (const auto& [finding, text] : texts) {
        if (map.findings.contains(finding)) {
            found << text;
        }
    }
    return found;
}

void MapStatus::showMap(const QString& fileName, const DecodedMap& map) {
    const QString module = summary(fileName, map);
    const QStringList findings = findingTexts(map);
    if (findings.isEmpty()) {
        m_text = module;
        setToolTip(module);
    } else {
        m_text = tr("%1 可疑：%2").arg(fileName, findings.join(tr("；")));
        setToolTip(module + QLatin1Char('\n') + findings.join(QLatin1Char('\n')) +
                   QLatin1Char('\n') + tr("下载前请检查这个文件。"));
    }
    m_icon->setVisible(!findings.isEmpty());
    elide();
}

bool MapStatus::warns() const {
    return !m_icon->isHidden();
}

void MapStatus::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    elide();
}

void MapStatus::elide() {
    m_label->setText(m_label->fontMetrics().elidedText(m_text, Qt::ElideRight, m_label->width()));
}
