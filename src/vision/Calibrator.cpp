#include "vision/Calibrator.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "vision/FloatPlane.h"
#include "vision/LatticeFit.h"
#include "vision/LatticeIndexer.h"
#include "vision/PointBuckets.h"
#include "vision/SpotFinder.h"

namespace {

constexpr int kClipLevel = 254;
// Sampling kernels follow the pitch: wide enough to average the sensor noise down, narrow
// enough (2 sigma = 0.4 pitch) to keep out the neighbours' light.
constexpr double kKernelShare = 0.2;
constexpr double kKernelMin = 0.8;
constexpr double kKernelMax = 4.0;
// The lattice found in the picture: positions by picture cell, row-major, and which of them
// held a spot (the others are placed on the smooth grid once it is fitted).
struct PictureLattice {
    int columns = 0;
    int rows = 0;
    std::vector<PicturePoint> positions;
    std::vector<bool> seen;
    PicturePoint at(int i, int j) const { return positions[static_cast<size_t>(j) * columns + i]; }
    bool seenAt(int i, int j) const { return seen[static_cast<size_t>(j) * columns + i]; }
};

bool hasClippedPixel(const GreyPicture& p, PicturePoint c) {
    const int cx = static_cast<int>(std::lround(c.x));
    const int cy = static_cast<int>(std::lround(c.y));
    for (int y = std::max(0, cy - 1); y <= std::min(p.height - 1, cy + 1); ++y) {
        for (int x = std::max(0, cx - 1); x <= std::min(p.width - 1, cx + 1); ++x) {
            if (p.at(x, y) >= kClipLevel) {
                return true;
            }
        }
    }
    return false;
}

std::vector<PicturePoint> centresOf(const std::vector<Spot>& spots) {
    std::vector<PicturePoint> c;
    for (const Spot& s : spots) {
        c.push_back(s.centre);
    }
    return c;
}

// The pitch the spots' bounding box implies for width x height LEDs: a fallback when the
// spots run together so much that no lattice can be walked.
double boxPitch(const std::vector<PicturePoint>& points, int width, int height) {
    double x0 = points.front().x;
    double x1 = x0;
    double y0 = points.front().y;
    double y1 = y0;
    for (const PicturePoint& p : points) {
        x0 = std::min(x0, p.x);
        x1 = std::max(x1, p.x);
        y0 = std::min(y0, p.y);
        y1 = std::max(y1, p.y);
    }
    return std::sqrt((x1 - x0) * (y1 - y0) / ((width - 1.0) * (height - 1.0)));
}

// The smallest and the median distance between lattice neighbours.
std::pair<double, double> smallestAndTypicalPitch(const PictureLattice& l) {
    std::vector<double> steps;
    for (int j = 0; j < l.rows; ++j) {
        for (int i = 0; i < l.columns; ++i) {
            if (i + 1 < l.columns) {
                steps.push_back((l.at(i + 1, j) - l.at(i, j)).length());
            }
            if (j + 1 < l.rows) {
                steps.push_back((l.at(i, j + 1) - l.at(i, j)).length());
            }
        }
    }
    const double smallest = *std::min_element(steps.begin(), steps.end());
    std::nth_element(steps.begin(), steps.begin() + steps.size() / 2, steps.end());
    return {smallest, steps[steps.size() / 2]};
}

// Whether the lattice may go on beyond the picture: one of its LEDs lies within a pitch of the
// border, where its next neighbour would be cut off or outside.
bool nearBorder(const IndexedLattice& l, const std::vector<PicturePoint>& points,
                const GreyPicture& picture, double pitch) {
    for (int p : l.pointAt) {
        if (p < 0) {
            continue;
        }
        const PicturePoint c = points[p];
        if (c.x < pitch || c.y < pitch || c.x > picture.width - 1 - pitch ||
            c.y > picture.height - 1 - pitch) {
            return true;
        }
    }
    return false;
}

// Stray spots beside the lattice (within 1.5 spacings of an LED of it) are extra light the
// module shows; spots farther away belong to the room.
int straysBeside(const IndexedLattice& l, const std::vector<PicturePoint>& points, double spacing) {
    std::vector<PicturePoint> onLattice;
    for (int p : l.pointAt) {
        if (p >= 0) {
            onLattice.push_back(points[p]);
        }
    }
    const PointBuckets buckets(onLattice, spacing);
    int strays = 0;
    for (int p : l.leftOver) {
        strays += buckets.nearest(points[p], 1.5 * spacing) >= 0 ? 1 : 0;
    }
    return strays;
}

PictureLattice positionsOf(const IndexedLattice& l, const std::vector<PicturePoint>& points) {
    PictureLattice out{l.columns, l.rows, {}, {}};
    for (int p : l.pointAt) {
        out.positions.push_back(p >= 0 ? points[p] : PicturePoint{});
        out.seen.push_back(p >= 0);
    }
    return out;
}

// Whether the lattice's empty places are few and each lies among LEDs: all its neighbours
// within the lattice hold one. Two side by side may be the start of a part of the module
// hidden or cut off, and leave the walk and the fit too little to hold them in place.
bool fewLoneGaps(const IndexedLattice& l, int allowed) {
    int empty = 0;
    for (int j = 0; j < l.rows; ++j) {
        for (int i = 0; i < l.columns; ++i) {
            if (l.at(i, j) >= 0) {
                continue;
            }
            const auto held = [&](int ni, int nj) {
                return ni < 0 || nj < 0 || ni >= l.columns || nj >= l.rows || l.at(ni, nj) >= 0;
            };
            if (++empty > allowed ||
                !(held(i - 1, j) && held(i + 1, j) && held(i, j - 1) && held(i, j + 1))) {
                return false;
            }
        }
    }
    return true;
}

// Why a lattice that is not exactly the expected one is refused.
CalibrationRefusal wrongLattice(const Calibration& c, const IndexedLattice& l, bool offPicture) {
    const bool transposed = c.foundColumns == c.expectedRows && c.foundRows == c.expectedColumns &&
                            c.expectedRows != c.expectedColumns &&
                            l.indexed + Calibrator::maxMissing(c.expected) >= c.expected;
    if (transposed) {
        return CalibrationRefusal::QuarterTurned;
    }
    if (c.found < c.expected) {
        return offPicture ? CalibrationRefusal::PartlyOutside : CalibrationRefusal::TooFew;
    }
    if (c.found > c.expected) {
        return CalibrationRefusal::TooMany;
    }
    return CalibrationRefusal::Irregular;
}

double kernelSigma(double pitch) {
    return std::clamp(kKernelShare * pitch, kKernelMin, kKernelMax);
}

LedPlace measuredLed(PicturePoint centre, double sigma, const GreyPicture& dark,
                     const GreyPicture& lit) {
    LedPlace led;
    led.centre = centre;
    led.kernel = SampleKernel(centre, sigma, dark.width, dark.height);
    led.dark = static_cast<float>(led.kernel.mean(dark));
    led.lit = static_cast<float>(led.kernel.mean(lit));
    led.litPeak = led.kernel.brightest(lit);
    return led;
}

// Everything the calibration of one module keeps, built from its picture lattice.
class GridBuilder {
public:
    GridBuilder(const PictureLattice& lattice, const GreyPicture& dark, const GreyPicture& lit,
                int width, int height, ModuleOrientation orientation)
        : m_lattice(lattice),
          m_dark(dark),
          m_lit(lit),
          m_width(width),
          m_height(height),
          m_orientation(orientation) {}

    LedGrid build(double smallestPitch, double typicalPitch, std::vector<LatticeCell> missing) {
        m_sigma = kernelSigma(typicalPitch);
        LedGrid::Parts parts;
        parts.width = m_width;
        parts.height = m_height;
        parts.orientation = m_orientation;
        parts.pictureWidth = m_dark.width;
        parts.pictureHeight = m_dark.height;
        parts.smallestPitch = smallestPitch;
        parts.typicalPitch = typicalPitch;
        for (int r = 0; r < m_height; ++r) {
            for (int c = 0; c < m_width; ++c) {
                const LatticeCell at = m_orientation.pictureCell({c, r}, m_width, m_height);
                parts.leds.push_back(
                    measuredLed(m_lattice.at(at.column, at.row), m_sigma, m_dark, m_lit));
            }
        }
        for (const LatticeCell cell : missing) {
            litLikeItsNeighbours(parts.leds, cell);
        }
        parts.missing = std::move(missing);
        addMiddles(parts.gaps);
        addRing(parts.gaps);
        std::vector<PicturePoint> leds;
        for (const LedPlace& led : parts.leds) {
            leds.push_back(led.centre);
        }
        parts.motion = MotionCheck(m_dark, m_lit, leds, typicalPitch, smallestPitch);
        return LedGrid(std::move(parts));
    }

private:
    // A dead LED's lit brightness is not in the lit picture: it would rise from its own dark
    // brightness as its neighbours did (the same lens, vignetting and exposure), by their median.
    void litLikeItsNeighbours(std::vector<LedPlace>& leds, LatticeCell cell) const {
        std::vector<float> rises;
        std::vector<int> peaks;
        constexpr int kSteps[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
        for (const auto& step : kSteps) {
            const int column = cell.column + step[0];
            const int row = cell.row + step[1];
            if (column >= 0 && row >= 0 && column < m_width && row < m_height) {
                const LedPlace& n = leds[static_cast<size_t>(row) * m_width + column];
                rises.push_back(n.lit - n.dark);
                peaks.push_back(n.litPeak);
            }
        }
        std::nth_element(rises.begin(), rises.begin() + rises.size() / 2, rises.end());
        std::nth_element(peaks.begin(), peaks.begin() + peaks.size() / 2, peaks.end());
        LedPlace& led = leds[static_cast<size_t>(cell.row) * m_width + cell.column];
        led.lit = led.dark + rises[rises.size() / 2];
        led.litPeak = peaks[peaks.size() / 2];
    }

    int ledIndex(int i, int j) const {
        const LatticeCell cell = m_orientation.moduleCell({i, j}, m_width, m_height);
        return cell.row * m_width + cell.column;
    }

    void addGap(std::vector<GapPlace>& gaps, PicturePoint centre, std::initializer_list<int> leds) {
        GapPlace gap;
        gap.centre = centre;
        gap.kernel = SampleKernel(centre, m_sigma, m_dark.width, m_dark.height);
        if (gap.kernel.isEmpty()) {
            return;
        }
        gap.dark = static_cast<float>(gap.kernel.mean(m_dark));
        gap.lit = static_cast<float>(gap.kernel.mean(m_lit));
        for (int led : leds) {
            gap.leds[gap.ledCount++] = led;
        }
        gaps.push_back(gap);
    }

    // The middle of every four neighbouring LEDs.
    void addMiddles(std::vector<GapPlace>& gaps) {
        const PictureLattice& l = m_lattice;
        for (int j = 0; j + 1 < l.rows; ++j) {
            for (int i = 0; i + 1 < l.columns; ++i) {
                const PicturePoint centre =
                    0.25 * (l.at(i, j) + l.at(i + 1, j) + l.at(i, j + 1) + l.at(i + 1, j + 1));
                addGap(gaps, centre,
                       {ledIndex(i, j), ledIndex(i + 1, j), ledIndex(i, j + 1),
                        ledIndex(i + 1, j + 1)});
            }
        }
    }

    // One step beyond every LED of the module's edge, straight out from the LED inside it.
    void addRing(std::vector<GapPlace>& gaps) {
        const PictureLattice& l = m_lattice;
        const auto outward = [&](int i, int j, int di, int dj) {
            addGap(gaps, 2.0 * l.at(i, j) - l.at(i - di, j - dj), {ledIndex(i, j)});
        };
        for (int i = 0; i < l.columns; ++i) {
            outward(i, 0, 0, -1);
            outward(i, l.rows - 1, 0, 1);
        }
        for (int j = 0; j < l.rows; ++j) {
            outward(0, j, -1, 0);
            outward(l.columns - 1, j, 1, 0);
        }
    }

    const PictureLattice& m_lattice;
    const GreyPicture& m_dark;
    const GreyPicture& m_lit;
    int m_width;
    int m_height;
    ModuleOrientation m_orientation;
    double m_sigma = 1;
};

bool validInput(const GreyPicture& dark, const GreyPicture& lit) {
    return dark.isValid() && lit.isValid() && dark.width == lit.width && dark.height == lit.height;
}

// The steps of a calibration. Each fills in what it found; when it refuses, it sets the
// refusal and returns nothing.
bool usableInput(Calibration& c, const GreyPicture& dark, const GreyPicture& lit, int width,
                 int height) {
    if (!validInput(dark, lit)) {
        c.refusal = CalibrationRefusal::PicturesDiffer;
    } else if (width < Calibrator::kMinSide || height < Calibrator::kMinSide ||
               static_cast<long>(width) * height > static_cast<long>(dark.width) * dark.height) {
        c.refusal = CalibrationRefusal::BadModuleSize;
    }
    return c.refusal == CalibrationRefusal::None;
}

std::optional<std::vector<Spot>> litSpots(Calibration& c, const GreyPicture& dark,
                                          const GreyPicture& lit) {
    std::vector<Spot> spots = SpotFinder().find(FloatPlane::difference(lit, dark));
    c.found = static_cast<int>(spots.size());
    if (spots.size() < 5) {
        c.refusal = CalibrationRefusal::NoDifference;
        return std::nullopt;
    }
    for (const Spot& s : spots) {
        c.clipped += hasClippedPixel(lit, s.centre) ? 1 : 0;
    }
    if (c.clipped > Calibrator::kMaxClippedShare * static_cast<double>(spots.size())) {
        c.refusal = CalibrationRefusal::Overexposed;
        return std::nullopt;
    }
    return spots;
}

// The spots as exactly the lattice the module shows in the picture, in picture cells.
std::optional<PictureLattice> moduleLattice(Calibration& c, const std::vector<Spot>& spots,
                                            const GreyPicture& picture, int width, int height) {
    const std::vector<PicturePoint> points = centresOf(spots);
    const double spacing = SpotFinder::typicalSpacing(spots);
    const IndexedLattice lattice = LatticeIndexer::index(points, spacing);
    c.foundColumns = lattice.columns;
    c.foundRows = lattice.rows;
    const int strays = lattice.indexed > 0 ? straysBeside(lattice, points, spacing) : 0;
    // Without a lattice the spots themselves are the best count there is.
    c.found = lattice.indexed > 0 ? lattice.indexed + strays : c.found;
    if (lattice.columns == c.expectedColumns && lattice.rows == c.expectedRows && strays == 0 &&
        lattice.conflicts == 0 && fewLoneGaps(lattice, Calibrator::maxMissing(c.expected))) {
        return positionsOf(lattice, points);
    }
    c.pitch = std::min(spacing, boxPitch(points, width, height));
    c.refusal = c.pitch < Calibrator::kMinPitch - Calibrator::kPitchTolerance
                    ? CalibrationRefusal::TooSmall
                    : wrongLattice(c, lattice, nearBorder(lattice, points, picture, spacing));
    return std::nullopt;
}

// The smallest and the typical pitch of the lattice once it has passed as one smooth grid; its
// empty places then take their positions on that grid.
std::optional<std::pair<double, double>> smoothGridPitch(Calibration& c, PictureLattice& l) {
    const std::optional<LatticeFitResult> fit =
        LatticeFit::check(l.positions, l.columns, l.rows, l.seen);
    c.worstResidual = fit ? fit->worstInPitches : 1.0;
    if (!fit || fit->worstInPitches > Calibrator::kMaxResidual) {
        c.refusal = CalibrationRefusal::Irregular;
        return std::nullopt;
    }
    // The pitch is measured on the smooth grid, which the centres' noise does not shrink.
    const auto pitches = smallestAndTypicalPitch({l.columns, l.rows, fit->fitted, l.seen});
    c.pitch = pitches.first;
    if (c.pitch < Calibrator::kMinPitch - Calibrator::kPitchTolerance) {
        c.refusal = CalibrationRefusal::TooSmall;
        return std::nullopt;
    }
    for (size_t k = 0; k < l.positions.size(); ++k) {
        if (!l.seen[k]) {
            l.positions[k] = fit->fitted[k];
        }
    }
    return pitches;
}

// An LED missing near the picture's border may be outside it, or cut so that no spot was found:
// the module may be partly outside.
bool missingWellInside(Calibration& c, const PictureLattice& l, const GreyPicture& picture,
                       double pitch) {
    const double margin = Calibrator::kMissingInside * pitch;
    for (size_t k = 0; k < l.positions.size(); ++k) {
        const PicturePoint p = l.positions[k];
        if (!l.seen[k] && (p.x < margin || p.y < margin || p.x > picture.width - 1 - margin ||
                           p.y > picture.height - 1 - margin)) {
            c.refusal = CalibrationRefusal::PartlyOutside;
            return false;
        }
    }
    return true;
}

// The module cells of the lattice's empty places, row-major.
std::vector<LatticeCell> missingCells(const PictureLattice& l, int width, int height,
                                      ModuleOrientation orientation) {
    std::vector<LatticeCell> cells;
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            const LatticeCell at = orientation.pictureCell({column, row}, width, height);
            if (!l.seenAt(at.column, at.row)) {
                cells.push_back({column, row});
            }
        }
    }
    return cells;
}

}  // namespace

Calibration Calibrator::calibrate(const GreyPicture& dark, const GreyPicture& lit, int width,
                                  int height, ModuleOrientation orientation) {
    Calibration c;
    c.expected = width * height;
    const LatticeCell expected = orientation.pictureSize(width, height);
    c.expectedColumns = expected.column;
    c.expectedRows = expected.row;
    if (!usableInput(c, dark, lit, width, height)) {
        return c;
    }
    const std::optional<std::vector<Spot>> spots = litSpots(c, dark, lit);
    if (!spots) {
        return c;
    }
    std::optional<PictureLattice> lattice = moduleLattice(c, *spots, dark, width, height);
    if (!lattice) {
        return c;
    }
    c.missing = missingCells(*lattice, width, height, orientation);
    const auto pitches = smoothGridPitch(c, *lattice);
    if (!pitches || !missingWellInside(c, *lattice, dark, pitches->second)) {
        return c;
    }
    c.grid = GridBuilder(*lattice, dark, lit, width, height, orientation)
                 .build(pitches->first, pitches->second, c.missing);
    return c;
}

int Calibrator::maxMissing(int leds) {
    return std::clamp(static_cast<int>(kMissingShare * leds), 1, kMaxMissing);
}
