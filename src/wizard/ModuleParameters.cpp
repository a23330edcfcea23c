#include "ModuleParameters.h"

#include <QComboBox>
#include <QLineEdit>

#include "Errors.h"
#include "Messages.h"
#include "OEControls.h"
#include "TextNumber.h"

namespace {

// The number in a text, checked against lo..hi.
Int16 readRange(const QString& text, int lo, int hi, const char* message) {
    const qint64 value = readTextNumber(text);
    if (value < lo || value > hi) {
        throw InputError(message);
    }
    return Int16(value);
}

// The list entry whose text the box shows, blanks aside; a text that is no entry is refused.
Int16 chosenEntry(const QComboBox& box, const char* message) {
    const int index = box.findText(box.currentText().trimmed(), Qt::MatchExactly);
    if (index < 0) {
        throw InputError(message);
    }
    return Int16(index);
}

}  // namespace

ModuleParameters ModuleParameters::read(const OEControls& c) {
    ModuleParameters p;
    p.width = readRange(c.LedWidth->text(), 1, 255, Messages::kWidthRange);
    p.height = readRange(c.LedHeigh->text(), 1, 255, Messages::kHeightRange);
    p.colour = chosenEntry(*c.LedColor, Messages::kColourChoice);
    p.scanCount = readRange(c.LedScan->currentText(), 1, 16, Messages::kScanRange);
    p.redGreen = chosenEntry(*c.LedInNum, Messages::kRedGreenChoice);
    return p;
}
