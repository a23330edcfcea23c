#include "ui/EnglishLayout.h"

#include "ui/Twips.h"

namespace {

struct Placement {
    const char* name;
    int left;
    int top;
    int width;
    int height;
};

// Left, top, width, height in twips relative to the parent, as in the Chinese calls of place().
constexpr Placement kPlacements[] = {
    // The parameter page: labels for "Red-green count", lists for "Single".
    {"Cell", 240, 240, 3375, 3735},
    {"Label1", 360, 495, 1440, 255},
    {"Label2", 360, 975, 1440, 255},
    {"Label3", 360, 1440, 1440, 255},
    {"Label4", 360, 1920, 1440, 255},
    {"Label5", 360, 2400, 1440, 255},
    {"LedWidth", 1920, 480, 960, 270},
    {"LedHeigh", 1920, 960, 960, 270},
    {"LedColor", 1920, 1440, 960, 300},
    {"LedScan", 1920, 1920, 960, 300},
    {"LedInNum", 1920, 2400, 960, 300},
    // The address panel beside it: labels for "Screen no." and "IP address".
    {"Frame1", 3600, 240, 3360, 3735},
    {"Label11", 120, 480, 1020, 255},
    {"Label7", 120, 840, 1020, 255},
    // The wizard pages as wide as the two groups; the polarity answers for "Lit at 1".
    {"OeFrame", 240, 240, 6720, 3735},
    {"DisFrame", 240, 240, 6720, 3735},
    {"HangFrame", 240, 240, 6720, 3735},
    {"LieFrame", 240, 240, 6720, 3735},
    {"HangGrid", 120, 300, 6480, 3400},
    {"LieGrid", 120, 300, 6480, 3400},
    {"OeSelect(0)", 360, 240, 1200, 375},
    {"OeSelect(1)", 2160, 240, 1200, 375},
    {"DisSelect(0)", 360, 240, 1200, 375},
    {"DisSelect(1)", 2160, 240, 1200, 375},
    // The button row: the pick count for "128 columns", then "Open" and "Download".
    {"PickCount", 4260, 4260, 1050, 255},
    {"Open", 5400, 4200, 615, 375},
    {"DownLoad", 6120, 4200, 840, 375},
};

}  // namespace

void EnglishLayout::apply(QWidget* window) {
    for (const Placement& p : kPlacements) {
        auto* widget = window->findChild<QWidget*>(QString::fromLatin1(p.name));
        Q_ASSERT(widget != nullptr);
        Twips::setGeometry(widget, QRect(p.left, p.top, p.width, p.height));
    }
}
