// Reading a number from any text a user could type (the input taken as UTF-16 and as UTF-8):
// no crash, no overflow, a number read back from its own decimal form is itself, and a field
// that must hold a number and nothing else reads it the same way as every other field.
#include <QString>
#include <cstdint>
#include <limits>

#include "FuzzCheck.h"
#include "core/TextNumber.h"

namespace {

void check(const QString& text) {
    const qint64 value = readTextNumber(text);
    require(readTextNumber(QStringLiteral("  ") + text + QStringLiteral("  ")) == value,
            "blanks around a text never change its number");
    const std::optional<qint64> whole = readWholeTextNumber(text);
    require(!whole || *whole == value, "a whole number reads as the plain reading does");
    require(!readWholeTextNumber(text + QLatin1Char('x')),
            "a text ending in a letter is no whole number");
    if (value != std::numeric_limits<qint64>::max() &&
        value != std::numeric_limits<qint64>::min()) {
        const QString number = QString::number(value);
        require(readTextNumber(number) == value && readWholeTextNumber(number) == value,
                "a number, alone in its decimal form, reads as itself");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    check(QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    check(QString(reinterpret_cast<const QChar*>(data), static_cast<qsizetype>(size / 2)));
    return 0;
}
