#include "core/TextNumber.h"

#include <limits>
#include <string>

namespace {

// Exponents are read up to this magnitude; any text that fits in memory has fewer digits, so a
// larger exponent gives the same result (saturated or 0) as this one.
constexpr long long kExponentCap = 1000000000000000LL;
constexpr std::size_t kMaxIntegerDigits = 18;  // 10^18 - 1 still fits a qint64
// Every magnitude from 10^18 on reads as saturated, however it was written.
constexpr qint64 kSaturationStart = 1000000000000000000LL;

// The character at i folded to ASCII (full-width forms included), or 0 past the end.
char charAt(QStringView text, qsizetype i) {
    if (i >= text.size()) {
        return 0;
    }
    char16_t c = text.at(i).unicode();
    if (c >= 0xFF01 && c <= 0xFF5E) {
        c = static_cast<char16_t>(c - 0xFEE0);
    }
    return c < 0x80 ? static_cast<char>(c) : '\x7f';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

struct Scanned {
    bool negative = false;
    std::string digits;     // every mantissa digit, integer part then fraction
    long long pointAt = 0;  // the decimal point stands after this many digits of `digits`
};

qsizetype scanDigits(QStringView text, qsizetype i, std::string& out) {
    while (isDigit(charAt(text, i))) {
        out.push_back(charAt(text, i));
        ++i;
    }
    return i;
}

struct Exponent {
    long long value = 0;
    qsizetype end = 0;  // the position after it
};

// Scans an exponent at i; value 0 and end i when what stands there is not one.
Exponent scanExponent(QStringView text, qsizetype i) {
    const qsizetype start = i;
    const char e = charAt(text, i);
    if (e != 'e' && e != 'E') {
        return {0, start};
    }
    ++i;
    bool negative = false;
    if (charAt(text, i) == '+' || charAt(text, i) == '-') {
        negative = charAt(text, i) == '-';
        ++i;
    }
    if (!isDigit(charAt(text, i))) {
        return {0, start};
    }
    long long value = 0;
    for (; isDigit(charAt(text, i)); ++i) {
        value = std::min<long long>(value * 10 + (charAt(text, i) - '0'), kExponentCap);
    }
    return {negative ? -value : value, i};
}

// The position after the number the text begins with, or -1 when it does not begin with one.
qsizetype scan(QStringView text, Scanned& out) {
    qsizetype i = 0;
    if (charAt(text, i) == '+' || charAt(text, i) == '-') {
        out.negative = charAt(text, i) == '-';
        ++i;
    }
    i = scanDigits(text, i, out.digits);
    out.pointAt = static_cast<long long>(out.digits.size());
    if (charAt(text, i) == '.') {
        i = scanDigits(text, i + 1, out.digits);
    }
    if (out.digits.empty()) {
        return -1;
    }
    const Exponent exponent = scanExponent(text, i);
    out.pointAt += exponent.value;
    return exponent.end;
}

qint64 saturated(bool negative) {
    return negative ? std::numeric_limits<qint64>::min() : std::numeric_limits<qint64>::max();
}

// Rounds the scanned number to the nearest integer, halves to even, saturating from 10^18 on.
qint64 rounded(Scanned n) {
    // Drop leading zeros so the digit count of the integer part is its magnitude.
    const std::size_t firstNonZero = n.digits.find_first_not_of('0');
    if (firstNonZero == std::string::npos) {
        return 0;
    }
    n.digits.erase(0, firstNonZero);
    n.pointAt -= static_cast<long long>(firstNonZero);

    if (n.pointAt > static_cast<long long>(kMaxIntegerDigits)) {
        return saturated(n.negative);
    }
    qint64 integer = 0;
    for (long long k = 0; k < n.pointAt; ++k) {
        const bool present = k < static_cast<long long>(n.digits.size());
        integer = integer * 10 + (present ? n.digits[static_cast<std::size_t>(k)] - '0' : 0);
    }
    // The fraction's first digit decides, unless it is exactly 5 with nothing after it.
    const long long firstFraction = std::max<long long>(n.pointAt, 0);
    const bool fractionStartsNow = n.pointAt >= 0;
    char half = '0';
    bool tail = false;
    for (long long k = firstFraction; k < static_cast<long long>(n.digits.size()); ++k) {
        const char d = n.digits[static_cast<std::size_t>(k)];
        if (k == n.pointAt && fractionStartsNow) {
            half = d;
        } else if (d != '0') {
            tail = true;
        }
    }
    const bool roundUp = half > '5' || (half == '5' && (tail || integer % 2 == 1));
    integer += roundUp ? 1 : 0;
    if (integer >= kSaturationStart) {
        return saturated(n.negative);  // 999...9.5 rounds up to 19 digits: huge like them
    }
    return n.negative ? -integer : integer;
}

}  // namespace

qint64 readTextNumber(QStringView text) {
    Scanned n;
    if (scan(text.trimmed(), n) < 0) {
        return 0;
    }
    return rounded(n);
}

std::optional<qint64> readWholeTextNumber(QStringView text) {
    const QStringView t = text.trimmed();
    Scanned n;
    if (scan(t, n) != t.size()) {
        return std::nullopt;
    }
    return rounded(n);
}
