// Reading a number from any text a user could type (the input taken as UTF-16 and as UTF-8):
// no crash, no overflow, and a number read back from its own decimal form is itself.
#include <QString>
#include <cstdint>
#include <cstdlib>

#include "TextNumber.h"

namespace {
void check(const QString& text) {
    const qint64 value = readTextNumber(text);
    const bool saturated =
        value == std::numeric_limits<qint64>::max() || value == std::numeric_limits<qint64>::min();
    if (!saturated && readTextNumber(QString::number(value)) != value) {
        std::abort();
    }
    if (readTextNumber(QStringLiteral("  ") + text + QStringLiteral("  ")) !=
        readTextNumber(text.trimmed())) {
        std::abort();  // blanks around a text never change its number
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    check(QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    check(QString(reinterpret_cast<const QChar*>(data), static_cast<qsizetype>(size / 2)));
    return 0;
}
