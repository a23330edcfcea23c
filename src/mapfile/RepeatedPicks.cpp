#include "RepeatedPicks.h"

#include <QList>
#include <algorithm>

namespace {

// Sentences for the picks at first, first + stride, ... (count of them) that repeat one before.
QStringList repeatsAmong(const DataBuffer& words, int first, int stride, int count,
                         const QString& kind) {
    const int width = words.at(0).value();
    QStringList sentences;
    QList<int> seen;
    for (int i = 0; i < count; ++i) {
        const int value = words.at(first + stride * i).value();
        const int earlier = static_cast<int>(seen.indexOf(value));
        seen.append(value);
        if (earlier < 0 || value < 1) {
            continue;
        }
        sentences << QString::fromUtf8("%1 %2 与%1 %3 相同（第 %4 行第 %5 列）")
                         .arg(kind)
                         .arg(i + 1)
                         .arg(earlier + 1)
                         .arg((value - 1) / width + 1)
                         .arg((value - 1) % width + 1);
    }
    return sentences;
}

}  // namespace

QStringList RepeatedPicks::find(const DataBuffer& words, Int16 pickCounter) {
    if (words.at(0) <= 0) {
        return {};
    }
    const int scanCount = std::clamp(words.at(3).value(), 0, 16);
    const int columns = std::clamp(pickCounter.value() / 8, 0, 128);
    return repeatsAmong(words, 8, 1, scanCount, QString::fromUtf8("行选择")) +
           repeatsAmong(words, 24, 8, columns, QString::fromUtf8("列选择"));
}
