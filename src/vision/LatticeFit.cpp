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

// The local pitch at an LED: the mean distance to its lattice neighbours.
double localPitch(const std::vector<PicturePoint>& p, int columns, int rows, int i, int j) {
    double sum = 0;
    int count = 0;
    const auto add = [&](int ni, int nj) {
        if (ni >= 0 && nj >= 0 && ni < columns && nj < rows) {
            sum += (p[static_cast<size_t>(nj) * columns + ni] -
                    p[static_cast<size_t>(j) * columns + i])
                       .length();
            ++count;
        }
    };
    add(i - 1, j);
    add(i + 1, j);
    add(i, j - 1);
    add(i, j + 1);
    return count > 0 ? sum / count : 1.0;
}

// What a cubic in picture coordinates cannot follow of positions - mapped: the lens bends the
// picture, not the module, so what the homography leaves is a cubic there (a radial
// distortion is one), taken about the grid's middle and scaled to about -1 .. 1 to keep the
// terms comparable. One row a position.
Eigen::MatrixXd cubicResiduals(const std::vector<PicturePoint>& positions,
                               const std::vector<PicturePoint>& mapped) {
    const int n = static_cast<int>(positions.size());
    PicturePoint middle;
    for (const PicturePoint& m : mapped) {
        middle = middle + (1.0 / n) * m;
    }
    double extent = 1;
    for (const PicturePoint& m : mapped) {
        extent = std::max({extent, std::abs(m.x - middle.x), std::abs(m.y - middle.y)});
    }
    Eigen::MatrixXd terms(n, kTerms);
    Eigen::MatrixXd left(n, 2);
    for (int k = 0; k < n; ++k) {
        const PicturePoint u = (1.0 / extent) * (mapped[k] - middle);
        terms.row(k) = cubicTerms(u.x, u.y);
        left(k, 0) = positions[k].x - mapped[k].x;
        left(k, 1) = positions[k].y - mapped[k].y;
    }
    return left - terms * terms.colPivHouseholderQr().solve(left);
}

}  // namespace

std::optional<LatticeFitResult> LatticeFit::check(const std::vector<PicturePoint>& positions,
                                                  int columns, int rows) {
    if (columns < 4 || rows < 4 || positions.size() != static_cast<size_t>(columns) * rows) {
        return std::nullopt;
    }
    std::vector<PicturePoint> cells;
    for (int j = 0; j < rows; ++j) {
        for (int i = 0; i < columns; ++i) {
            cells.push_back({double(i), double(j)});
        }
    }
    const std::optional<Homography> h = Homography::fit(cells, positions);
    if (!h) {
        return std::nullopt;
    }
    std::vector<PicturePoint> mapped;
    for (const PicturePoint& c : cells) {
        mapped.push_back(h->map(c));
    }
    const Eigen::MatrixXd residuals = cubicResiduals(positions, mapped);
    const int n = static_cast<int>(positions.size());
    LatticeFitResult result;
    double squares = 0;
    for (int k = 0; k < n; ++k) {
        result.fitted.push_back(positions[k] - PicturePoint{residuals(k, 0), residuals(k, 1)});
        const double r = std::hypot(residuals(k, 0), residuals(k, 1));
        squares += r * r;
        const double relative = r / localPitch(positions, columns, rows, k % columns, k / columns);
        result.worstResidual = std::max(result.worstResidual, r);
        if (relative > result.worstInPitches) {
            result.worstInPitches = relative;
            result.worstAt = k;
        }
    }
    result.rmsResidual = std::sqrt(squares / n);
    return result;
}
