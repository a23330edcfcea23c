#include "ModuleSize.h"

QString ModuleSize::whyNotDescribable() const {
    if (width <= 0 || height <= 0 || scanCount <= 0) {
        return QStringLiteral("width, height and scan count must be above 0");
    }
    if (scanCount > kMaxScanCount) {
        return QStringLiteral("scan count %1 is above %2").arg(scanCount).arg(kMaxScanCount);
    }
    if (height % scanCount != 0) {
        return QStringLiteral("height %1 is not a multiple of scan count %2")
            .arg(height)
            .arg(scanCount);
    }
    if (width % 8 != 0) {
        return QStringLiteral("width %1 is not a multiple of 8").arg(width);
    }
    if (groupsPerAddress() > kMaxGroups) {
        return QStringLiteral("a chain of %1 groups of 8 is more than the %2 a map holds")
            .arg(groupsPerAddress())
            .arg(kMaxGroups);
    }
    return {};
}

QString ModuleSize::name() const {
    return QStringLiteral("%1x%2 scan %3").arg(width).arg(height).arg(scanCount);
}
