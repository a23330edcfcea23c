#include "vision/LatticeFit.h"

#include <Eigen/QR>
#include <algorithm>
#include <cmath>

#include "vision/Homography.h"

namespace {

constexpr int kTerms = 10;  // 1, u, v, u^2, uv, v^2, u^3, u^2 v, u v^2, v^3

Eigen::Matrix<double, 1, kTerms> cubicTerms(double u, double v) {
    Eigen::Matrix<double, 1, kTerms> t;
    t << 1, u, v, u * u, u * v, v * v, u * u * u, u * u * v, u * v * v, v * v * v;
    return t;
}

// The places of a lattice and which of them were seen.
struct Places {
    int columns = 0;
    int rows = 0;
    std::vector<bool> seen;

    size_t index(int i, int j) const { return static_cast<size_t>(j) * columns + i; }
};

// The local pitch at an LED: the mean distance to its lattice neighbours that were seen.
double localPitch(const std::vector<PicturePoint>& p, const Places& places, int i, int j) {
    double sum = 0;
    int count = 0;
    const auto add = [&](int ni, int nj) {
        if (ni >= 0 && nj >= 0 && ni < places.columns && nj < places.rows &&
            places.seen[places.index(ni, nj)]) {
            sum += (p[places.index(ni, nj)] - p[places.index(i, j)]).length();
            ++count;
        }
    };
    add(i - 1, j);
    add(i + 1, j);
    add(i, j - 1);
    add(i, j + 1);
    return count > 0 ? sum / count : 1.0;
}

// The cubic in picture coordinates that best explains what the homography leaves of the
// positions seen, evaluated at every place: the lens bends the picture, not the module, so what
// the homography leaves is a cubic there (a radial distortion is one), taken about the grid's
// middle and scaled to about -1 .. 1 to keep the terms comparable.
std::vector<PicturePoint> lensCorrection(const std::vector<PicturePoint>& positions,
                                         const std::vector<PicturePoint>& mapped,
                                         const std::vector<bool>& seen) {
    const int n = static_cast<int>(positions.size());
    PicturePoint middle;
    for (const PicturePoint& m : mapped) {
        middle = middle + (1.0 / n) * m;
    }
    double extent = 1;
    for (const PicturePoint& m : mapped) {
        extent = std::max({extent, std::abs(m.x - middle.x), std::abs(m.y - middle.y)});
    }
    const int seenCount = static_cast<int>(std::count(seen.begin(), seen.end(), true));
    Eigen::MatrixXd terms(n, kTerms);
    Eigen::MatrixXd seenTerms(seenCount, kTerms);
    Eigen::MatrixXd left(seenCount, 2);
    for (int k = 0, row = 0; k < n; ++k) {
        const PicturePoint u = (1.0 / extent) * (mapped[k] - middle);
        terms.row(k) = cubicTerms(u.x, u.y);
        if (seen[k]) {
            seenTerms.row(row) = terms.row(k);
            left(row, 0) = positions[k].x - mapped[k].x;
            left(row++, 1) = positions[k].y - mapped[k].y;
        }
    }
    const Eigen::MatrixXd correction = terms * seenTerms.colPivHouseholderQr().solve(left);
    std::vector<PicturePoint> out;
    for (int k = 0; k < n; ++k) {
        out.push_back({correction(k, 0), correction(k, 1)});
    }
    return out;
}

// The smooth grid's position of every place, fitted to the places seen.
std::optional<std::vector<PicturePoint>> smoothGrid(const std::vector<PicturePoint>& positions,
                                                    const Places& places) {
    std::vector<PicturePoint> cells;
    std::vector<PicturePoint> seenCells;
    std::vector<PicturePoint> seenPositions;
    for (int j = 0; j < places.rows; ++j) {
        for (int i = 0; i < places.columns; ++i) {
            cells.push_back({double(i), double(j)});
            if (places.seen[places.index(i, j)]) {
                seenCells.push_back(cells.back());
                seenPositions.push_back(positions[places.index(i, j)]);
            }
        }
    }
    const std::optional<Homography> h = Homography::fit(seenCells, seenPositions);
    if (!h) {
        return std::nullopt;
    }
    std::vector<PicturePoint> mapped;
    for (const PicturePoint& c : cells) {
        mapped.push_back(h->map(c));
    }
    const std::vector<PicturePoint> correction = lensCorrection(positions, mapped, places.seen);
    for (size_t k = 0; k < mapped.size(); ++k) {
        mapped[k] = mapped[k] + correction[k];
    }
    return mapped;
}

}  // namespace

std::optional<LatticeFitResult> LatticeFit::check(const std::vector<PicturePoint>& positions,
                                                  int columns, int rows,
                                                  const std::vector<bool>& seen) {
    const size_t n = static_cast<size_t>(std::max(columns, 0)) * std::max(rows, 0);
    if (columns < 4 || rows < 4 || positions.size() != n || (!seen.empty() && seen.size() != n)) {
        return std::nullopt;
    }
    const Places places{columns, rows, seen.empty() ? std::vector<bool>(n, true) : seen};
    const auto seenCount = std::count(places.seen.begin(), places.seen.end(), true);
    if (seenCount < kMinSeen) {
        return std::nullopt;
    }
    std::optional<std::vector<PicturePoint>> fitted = smoothGrid(positions, places);
    if (!fitted) {
        return std::nullopt;
    }
    LatticeFitResult result;
    result.fitted = std::move(*fitted);
    double squares = 0;
    for (size_t k = 0; k < n; ++k) {
        if (!places.seen[k]) {
            continue;
        }
        const double r = (positions[k] - result.fitted[k]).length();
        squares += r * r;
        const int i = static_cast<int>(k) % columns;
        const int j = static_cast<int>(k) / columns;
        const double relative = r / localPitch(positions, places, i, j);
        result.worstResidual = std::max(result.worstResidual, r);
        if (relative > result.worstInPitches) {
            result.worstInPitches = relative;
            result.worstAt = static_cast<int>(k);
        }
    }
    result.rmsResidual = std::sqrt(squares / static_cast<double>(seenCount));
    return result;
}
