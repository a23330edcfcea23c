#pragma once

#include <QFont>

namespace UiFonts {

// The song-style font "宋体" at the given size in points. Where it is missing, the next family
// that exists is used: the same face under its Latin names, then the CJK fonts of Linux
// desktops, the monospaced one first because, like "宋体", it draws Latin letters and digits
// half as wide as a Chinese character, which the window's narrow fields are measured for. Qt keeps
// text in Unicode, so the GB2312 character set the captions were designed for needs no setting of
// its own.
QFont simSun(double points);

}  // namespace UiFonts
