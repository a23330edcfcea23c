#include "mapfile/RepeatedPicks.h"

#include <QCoreApplication>
#include <QList>
#include <algorithm>

namespace {

using namespace MapLayout;

const char* const kSentence =
    QT_TRANSLATE_NOOP("RepeatedPicks", "%1 %2 与%1 %3 相同（第 %4 行第 %5 列）");
const char* const kRowPick = QT_TRANSLATE_NOOP("RepeatedPicks", "行选择");
const char* const kColumnPick = QT_TRANSLATE_NOOP("RepeatedPicks", "列选择");

QString translated(const char* text) {
    return QCoreApplication::translate("RepeatedPicks", text);
}

// Sentences for the picks at first, first + stride, ... (count of them) that repeat one before.
QStringList repeatsAmong(const ScanMapBuffer& words, int first, int stride, int count,
                         const QString& kind) {
    const int width = words.at(kWidth).value();
    QStringList sentences;
    QList<int> seen;
    for (int i = 0; i < count; ++i) {
        const int value = words.at(first + stride * i).value();
        const int earlier = static_cast<int>(seen.indexOf(value));
        seen.append(value);
        if (earlier < 0 || value < 1) {
            continue;
        }
        sentences << translated(kSentence)
                         .arg(kind)
                         .arg(i + 1)
                         .arg(earlier + 1)
                         .arg((value - 1) / width + 1)
                         .arg((value - 1) % width + 1);
    }
    return sentences;
}

}  // namespace

QStringList RepeatedPicks::find(const ScanMapBuffer& words, Int16 pickCounter) {
    if (words.at(kWidth) <= 0) {
        return {};
    }
    const int scanCount = std::clamp(words.at(kScanCount).value(), 0, kMaxRowEntries);
    const int columns = std::clamp(pickCounter.value() / kColumnPickStride, 0, kMaxColumnEntries);
    return repeatsAmong(words, kRowPicksAt, 1, scanCount, translated(kRowPick)) +
           repeatsAmong(words, kColumnPicksAt, kColumnPickStride, columns, translated(kColumnPick));
}
