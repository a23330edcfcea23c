#include "camera/CameraFormatChoice.h"

#include <cstdlib>
#include <tuple>

#include "camera/GreyPlane.h"

namespace {

// Smaller is better, compared in order.
std::tuple<bool, int, int, float> rank(const CameraFormatOffer& offer) {
    const int distance =
        std::abs(offer.resolution.width() - CameraFormatChoice::kWantedResolution.width()) +
        std::abs(offer.resolution.height() - CameraFormatChoice::kWantedResolution.height());
    return {offer.maxFrameRate < CameraFormatChoice::kMinFrameRate, distance,
            GreyPlane::cost(offer.pixelFormat), -offer.maxFrameRate};
}

}  // namespace

qsizetype CameraFormatChoice::choose(const QList<CameraFormatOffer>& offers) {
    qsizetype best = -1;
    for (qsizetype i = 0; i < offers.size(); ++i) {
        if (GreyPlane::cost(offers[i].pixelFormat) < 0) {
            continue;
        }
        if (best < 0 || rank(offers[i]) < rank(offers[best])) {
            best = i;
        }
    }
    return best;
}
