#include "vision/PolarityJudge.h"

#include <algorithm>
#include <cmath>

#include "vision/FloatPlane.h"
#include "vision/LatticeIndexer.h"
#include "vision/LedReader.h"
#include "vision/SpotFinder.h"

namespace {

PolarityReading decided(double litShare, double darkShare) {
    PolarityReading r;
    r.litShare = litShare;
    if (litShare >= PolarityJudge::kLitShare) {
        r.light = ModuleLight::Lit;
        r.margin = litShare - PolarityJudge::kLitShare;
    } else if (darkShare <= PolarityJudge::kDarkShare) {
        r.light = ModuleLight::Dark;
        r.margin = PolarityJudge::kDarkShare - darkShare;
    } else {
        r.margin =
            -std::min(PolarityJudge::kLitShare - litShare, darkShare - PolarityJudge::kDarkShare);
    }
    return r;
}

// The largest pitch a width x height module can show in the picture, either way round.
double largestPitch(const GreyPicture& p, int width, int height) {
    const double upright = std::min(double(p.width) / width, double(p.height) / height);
    const double turned = std::min(double(p.width) / height, double(p.height) / width);
    return std::max(upright, turned);
}

// The most lattice places filled within any window of columns x rows places: the module's LEDs
// when it is lit, however far the walk strayed beyond it onto the room's bright spots.
int mostInWindow(const IndexedLattice& l, int columns, int rows) {
    // filled[j][i]: places filled above and left of (i, j), exclusive.
    std::vector<int> filled(static_cast<size_t>(l.columns + 1) * (l.rows + 1), 0);
    const auto f = [&](int i, int j) -> int& {
        return filled[static_cast<size_t>(j) * (l.columns + 1) + i];
    };
    for (int j = 0; j < l.rows; ++j) {
        for (int i = 0; i < l.columns; ++i) {
            f(i + 1, j + 1) = f(i, j + 1) + f(i + 1, j) - f(i, j) + (l.at(i, j) >= 0 ? 1 : 0);
        }
    }
    const int w = std::min(columns, l.columns);
    const int h = std::min(rows, l.rows);
    int most = 0;
    for (int j = 0; j + h <= l.rows; ++j) {
        for (int i = 0; i + w <= l.columns; ++i) {
            most = std::max(most, f(i + w, j + h) - f(i, j + h) - f(i + w, j) + f(i, j));
        }
    }
    return most;
}

double medianHeight(const std::vector<Spot>& spots, const IndexedLattice& lattice) {
    std::vector<double> heights;
    for (int p : lattice.pointAt) {
        if (p >= 0) {
            heights.push_back(spots[p].height);
        }
    }
    if (heights.empty()) {
        return 0;
    }
    std::nth_element(heights.begin(), heights.begin() + heights.size() / 2, heights.end());
    return heights[heights.size() / 2];
}

}  // namespace

PolarityReading PolarityJudge::judge(const GreyPicture& picture, int width, int height) {
    if (!picture.isValid() || width < 1 || height < 1) {
        return {};
    }
    const FloatPlane plane = FloatPlane::fromPicture(picture);
    const int radius = static_cast<int>(std::ceil(0.5 * largestPitch(picture, width, height)));
    FloatPlane overSurroundings = plane;
    const FloatPlane floor = plane.minimumFiltered(radius);
    for (int y = 0; y < plane.height(); ++y) {
        for (int x = 0; x < plane.width(); ++x) {
            overSurroundings.at(x, y) -= floor.at(x, y);
        }
    }
    const std::vector<Spot> spots =
        SpotFinder(static_cast<float>(kMinContrast), 0).find(overSurroundings);
    std::vector<PicturePoint> centres;
    for (const Spot& s : spots) {
        centres.push_back(s.centre);
    }
    const IndexedLattice lattice =
        LatticeIndexer::index(centres, SpotFinder::typicalSpacing(spots));
    const int most =
        std::max(mostInWindow(lattice, width, height), mostInWindow(lattice, height, width));
    const double share = most / (double(width) * height);
    PolarityReading r = decided(share, share);
    r.contrast = medianHeight(spots, lattice);
    return r;
}

PolarityReading PolarityJudge::judge(const LedGrid& grid, const GreyPicture& picture) {
    const LedReading reading = LedReader::read(grid, picture);
    if (reading.doubt == Doubt::Moved || reading.doubt == Doubt::WrongPicture) {
        return judge(picture, grid.width(), grid.height());
    }
    int lit = 0;
    int notDark = 0;
    for (float s : reading.scores) {
        lit += s >= LedReader::kLitScore ? 1 : 0;
        notDark += s > LedReader::kUnlitScore ? 1 : 0;
    }
    const double n = static_cast<double>(reading.scores.size());
    return decided(lit / n, notDark / n);
}
