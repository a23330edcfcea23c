#include "session/ModuleParameters.h"

#include "core/Errors.h"
#include "core/MapLayout.h"
#include "core/TextNumber.h"
#include "session/Messages.h"

namespace {

constexpr int kMaxSide = 255;  // the module parameter packet carries each side in one byte

[[noreturn]] void refuse(const QString& message) {
    throw InputError(message.toStdString());
}

int inRange(std::optional<qint64> value, int lo, int hi, const QString& message) {
    if (!value || *value < lo || *value > hi) {
        refuse(message);
    }
    return static_cast<int>(*value);
}

int entry(int chosen, int entries, const QString& message) {
    if (chosen < 0 || chosen >= entries) {
        refuse(message);
    }
    return chosen;
}

}  // namespace

ModuleParameters ModuleParameters::read(const ParameterInput& input) {
    ModuleParameters p;
    p.width = inRange(readTextNumber(input.width), 1, kMaxSide, Messages::widthRange());
    p.height = inRange(readTextNumber(input.height), 1, kMaxSide, Messages::heightRange());
    p.colour = entry(input.colourEntry, 2, Messages::colourChoice());
    p.scanCount = inRange(readWholeTextNumber(input.scanCount), 1, MapLayout::kMaxRowEntries,
                          Messages::scanRange());
    p.redGreen = entry(input.redGreenEntry, 4, Messages::redGreenChoice());
    return p;
}
