#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

// Reads the number a text box holds, the way every numeric field of the window is read:
//
//  1. White space is removed at both ends (ASCII blanks, tabs, line breaks and the full-width
//     space an input method types).
//  2. The number the text begins with is taken: an optional sign, decimal digits, an optional
//     decimal point with more digits, and an optional exponent ("e" or "E", an optional sign,
//     at least one digit). Reading stops at the first character that does not continue the
//     number, so "64abc" is 64 and "1 2" is 1. A text that does not begin with a number
//     ("abc", "", ".", "-", "&H10", "∞") reads as 0.
//  3. The value is rounded to the nearest integer, halves to the even neighbour:
//     "64.5" is 64, "65.5" is 66, "2.5" is 2, "-2.5" is -2.
//
// Full-width forms (Ｕ+FF01..FF5E, e.g. "６４" or "－１") are read as their ASCII forms, since an
// input method in full-width mode types them for plain digits. Other scripts' digits and the
// Unicode minus sign do not count as digits or signs. Hexadecimal and octal prefixes are not
// accepted.
//
// The result is exact for any length of text, exponent included ("1" followed by 120000 zeros
// and "e-120000" is 1): a value whose magnitude reaches 10^18 saturates at the largest or
// smallest qint64, so it is always reported as out of range by the caller's range check and
// never wraps.
qint64 readTextNumber(QStringView text);

// The same reading for a field that must hold a number and nothing else: white space at both
// ends is allowed, but a text that is empty or does not end where its number ends ("8x",
// "16 lines", "8 8") gives nullopt.
std::optional<qint64> readWholeTextNumber(QStringView text);
