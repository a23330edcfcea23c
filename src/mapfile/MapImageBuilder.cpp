#include "mapfile/MapImageBuilder.h"

#include <QCoreApplication>
#include <QString>

#include "core/Errors.h"

namespace {

using namespace MapLayout;

const char* const kOutsideModule = QT_TRANSLATE_NOOP("MapImageBuilder", "%1超出模块范围，无法保存");
const char* const kRowPick = QT_TRANSLATE_NOOP("MapImageBuilder", "第 %1 个行选择");
const char* const kColumnPick = QT_TRANSLATE_NOOP("MapImageBuilder", "第 %1 个列选择");
const char* const kHeaderRange = QT_TRANSLATE_NOOP("MapImageBuilder", "参数超出范围，无法保存");
const char* const kScanRange = QT_TRANSLATE_NOOP("MapImageBuilder", "扫描周期必须在 1 到 16 之间");
const char* const kZeroWidth = QT_TRANSLATE_NOOP("MapImageBuilder", "模块宽度为 0，无法保存");
const char* const kRowsMissing = QT_TRANSLATE_NOOP(
    "MapImageBuilder", "行选择未完成：已选 %1 行，需要 %2 行。请返回第3步选完后再保存");
const char* const kColumnCount = QT_TRANSLATE_NOOP("MapImageBuilder", "列选择数目不对，无法保存");

QString translated(const char* text) {
    return QCoreApplication::translate("MapImageBuilder", text);
}

[[noreturn]] void refuse(const QString& text) {
    throw InputError(text.toStdString());
}

// The two bytes of a row or column entry for pixel number v: pixel row, pixel column.
std::pair<std::uint8_t, std::uint8_t> entry(Int16 v, Int16 width, const QString& which) {
    try {
        const Int16 index = v - 1;
        return {index.divide(width).toByte(), index.remainder(width).toByte()};
    } catch (const OverflowError&) {
        refuse(translated(kOutsideModule).arg(which));
    } catch (const RangeError&) {
        refuse(translated(kOutsideModule).arg(which));
    }
}

void writeHeader(const ScanMapBuffer& words, MapImage& image) {
    for (int n = 0; n < kHeaderWords; ++n) {
        const Int16 w = words.at(n);
        try {
            image.set(2 * n, static_cast<std::uint8_t>(w.value() & 0xFF));
            image.set(2 * n + 1, w.divide(256).toByte());
        } catch (const RangeError&) {
            refuse(translated(kHeaderRange));
        }
    }
}

void writeRows(const ScanMapBuffer& words, Int16 width, MapImage& image) {
    const int scanCount = words.at(kScanCount).value();
    for (int i = 0; i < scanCount; ++i) {
        const auto [row, col] =
            entry(words.at(kRowPicksAt + i), width, translated(kRowPick).arg(i + 1));
        image.set(kRowEntriesAt + 2 * i, row);
        image.set(kRowEntriesAt + 2 * i + 1, col);
    }
}

// Column entries go out last pick first.
void writeColumns(const ScanMapBuffer& words, Int16 pickCounter, Int16 width, MapImage& image) {
    const int picks = pickCounter.value() / kColumnPickStride;
    for (int n = 0; n < picks; ++n) {
        const int pick = picks - n;  // 1-based number of the pick this entry holds
        const Int16 value = words.at(kColumnPicksAt + kColumnPickStride * (pick - 1));
        const auto [row, col] = entry(value, width, translated(kColumnPick).arg(pick));
        image.set(kColumnEntriesAt + 2 * n, row);
        image.set(kColumnEntriesAt + 2 * n + 1, static_cast<std::uint8_t>(col / kColumnsPerGroup));
    }
}

void checkBuildable(const ScanMapBuffer& words, Int16 pickCounter, Int16 rowPicksMade) {
    const int scanCount = words.at(kScanCount).value();
    if (scanCount < 1 || scanCount > kMaxRowEntries) {
        refuse(translated(kScanRange));
    }
    if (words.at(kWidth) == 0) {
        refuse(translated(kZeroWidth));
    }
    if (rowPicksMade < scanCount) {
        refuse(translated(kRowsMissing).arg(rowPicksMade.value()).arg(scanCount));
    }
    const int maxCounter = kMaxColumnEntries * kColumnPickStride;
    if (pickCounter < 0 || pickCounter > maxCounter || pickCounter.value() % kColumnPickStride) {
        refuse(translated(kColumnCount));
    }
}

}  // namespace

MapImageBuilder::Result MapImageBuilder::build(const ScanMapBuffer& original, Int16 pickCounter,
                                               Int16 rowPicksMade, const MapImage& previous) {
    checkBuildable(original, pickCounter, rowPicksMade);
    ScanMapBuffer words = original;
    const bool marker = (words.at(kColumnPicksAt).value() & 7) == 0;
    const Int16 oePolarity = Int16(words.at(kOePolarity).value() & 0xFF) + (marker ? 256 : 0);
    words.set(kOePolarity, oePolarity);
    words.set(kColumnExtent, pickCounter);

    Result result{previous, oePolarity, pickCounter};
    writeHeader(words, result.image);
    writeRows(words, words.at(kWidth), result.image);
    writeColumns(words, pickCounter, words.at(kWidth), result.image);
    return result;
}
