#include "MapImageBuilder.h"

#include <QString>

#include "Errors.h"

namespace {

constexpr int kRowEntriesAt = 16;
constexpr int kColumnEntriesAt = 48;
constexpr int kMaxScanCount = 16;

[[noreturn]] void refuse(const QString& text) {
    throw InputError(text.toStdString());
}

// The two bytes of a row or column entry for pixel number v: pixel row, pixel column.
std::pair<std::uint8_t, std::uint8_t> entry(Int16 v, Int16 width, const QString& which) {
    try {
        const Int16 index = v - 1;
        return {index.divide(width).toByte(), index.remainder(width).toByte()};
    } catch (const LumotrixError&) {
        refuse(QString::fromUtf8("%1超出模块范围，无法保存").arg(which));
    }
}

void writeHeader(const DataBuffer& words, MapImage& image) {
    for (int n = 0; n < 8; ++n) {
        const Int16 w = words.at(n);
        try {
            image.set(2 * n, static_cast<std::uint8_t>(w.value() & 0xFF));
            image.set(2 * n + 1, w.divide(256).toByte());
        } catch (const RangeError&) {
            refuse(QString::fromUtf8("参数超出范围，无法保存"));
        }
    }
}

void writeRows(const DataBuffer& words, Int16 width, MapImage& image) {
    const int scanCount = words.at(3).value();
    for (int i = 0; i < scanCount; ++i) {
        const auto [row, col] =
            entry(words.at(8 + i), width, QString::fromUtf8("第 %1 个行选择").arg(i + 1));
        image.set(kRowEntriesAt + 2 * i, row);
        image.set(kRowEntriesAt + 2 * i + 1, col);
    }
}

void writeColumns(const DataBuffer& words, Int16 pickCounter, Int16 width, MapImage& image) {
    int next = kColumnEntriesAt;
    for (int p = pickCounter.value() + 16; p >= 24; p -= 8) {
        const int pick = (p - 24) / 8 + 1;
        const auto [row, col] =
            entry(words.at(p), width, QString::fromUtf8("第 %1 个列选择").arg(pick));
        image.set(next++, row);
        image.set(next++, static_cast<std::uint8_t>(col / 8));
    }
}

void checkBuildable(const DataBuffer& words, Int16 pickCounter, Int16 rowPicksMade) {
    const int scanCount = words.at(3).value();
    if (scanCount < 1 || scanCount > kMaxScanCount) {
        refuse(QString::fromUtf8("扫描周期必须在 1 到 16 之间"));
    }
    if (words.at(0) == 0) {
        refuse(QString::fromUtf8("模块宽度为 0，无法保存"));
    }
    if (rowPicksMade < scanCount) {
        refuse(QString::fromUtf8("行选择未完成：已选 %1 行，需要 %2 行。请返回第3步选完后再保存")
                   .arg(rowPicksMade.value())
                   .arg(scanCount));
    }
    if (pickCounter < 0 || pickCounter > 1024 || pickCounter.value() % 8 != 0) {
        refuse(QString::fromUtf8("列选择数目不对，无法保存"));
    }
}

}  // namespace

MapImageBuilder::Result MapImageBuilder::build(const DataBuffer& original, Int16 pickCounter,
                                               Int16 rowPicksMade, const MapImage& previous) {
    checkBuildable(original, pickCounter, rowPicksMade);
    DataBuffer words = original;
    const bool marker = (words.at(24).value() & 7) == 0;
    const Int16 word5 = Int16(words.at(5).value() & 0xFF) + (marker ? 256 : 0);
    words.set(5, word5);
    words.set(7, pickCounter);

    Result result{previous, word5, pickCounter};
    writeHeader(words, result.image);
    writeRows(words, words.at(0), result.image);
    writeColumns(words, pickCounter, words.at(0), result.image);
    return result;
}
