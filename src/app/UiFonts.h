#pragma once

#include <QFont>

namespace UiFonts {

// The song-style font "宋体" at the given size in points. Where it is missing, the next family
// that exists is used: the same face under its Latin name, then the common CJK fonts of Linux
// desktops, so Chinese text never falls back to empty boxes. Qt keeps text in Unicode, so the
// GB2312 character set the captions were designed for needs no setting of its own.
QFont simSun(double points);

}  // namespace UiFonts
