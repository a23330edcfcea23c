#include "vision/Homography.h"

#include <Eigen/Dense>
#include <cmath>
#include <limits>

namespace {

using Matrix = Eigen::Matrix3d;

// Twice the area of the triangle a, b, c, relative to the square of its longest side: near
// zero when the three lie on a line, whatever their scale.
double flatness(PicturePoint a, PicturePoint b, PicturePoint c) {
    const PicturePoint u = b - a;
    const PicturePoint v = c - a;
    const double longest = std::max({u.length(), v.length(), (c - b).length()});
    if (longest == 0) {
        return 0;
    }
    return std::abs(u.x * v.y - u.y * v.x) / (longest * longest);
}

bool threeOnALine(const std::array<PicturePoint, 4>& p) {
    constexpr double kFlat = 1e-9;
    return flatness(p[0], p[1], p[2]) < kFlat || flatness(p[0], p[1], p[3]) < kFlat ||
           flatness(p[0], p[2], p[3]) < kFlat || flatness(p[1], p[2], p[3]) < kFlat;
}

// Moves points to their centroid and scales them to a mean distance of sqrt 2 from it.
Matrix normalising(const std::vector<PicturePoint>& points) {
    double cx = 0;
    double cy = 0;
    for (const PicturePoint& p : points) {
        cx += p.x;
        cy += p.y;
    }
    cx /= static_cast<double>(points.size());
    cy /= static_cast<double>(points.size());
    double mean = 0;
    for (const PicturePoint& p : points) {
        mean += std::hypot(p.x - cx, p.y - cy);
    }
    mean /= static_cast<double>(points.size());
    const double s = mean > 0 ? std::sqrt(2.0) / mean : 1.0;
    Matrix t;
    t << s, 0, -s * cx, 0, s, -s * cy, 0, 0, 1;
    return t;
}

Eigen::Vector3d lifted(const Matrix& t, PicturePoint p) {
    return t * Eigen::Vector3d(p.x, p.y, 1);
}

// The matrix scaled to unit size; a homography's scale is free.
std::array<double, 9> entries(const Matrix& m) {
    const Matrix n = m / m.norm();
    return {n(0, 0), n(0, 1), n(0, 2), n(1, 0), n(1, 1), n(1, 2), n(2, 0), n(2, 1), n(2, 2)};
}

Matrix matrixOf(const std::array<double, 9>& h) {
    Matrix m;
    m << h[0], h[1], h[2], h[3], h[4], h[5], h[6], h[7], h[8];
    return m;
}

}  // namespace

std::optional<Homography> Homography::fromFourPoints(const std::array<PicturePoint, 4>& from,
                                                     const std::array<PicturePoint, 4>& to) {
    if (threeOnALine(from) || threeOnALine(to)) {
        return std::nullopt;
    }
    return fit(std::vector<PicturePoint>(from.begin(), from.end()),
               std::vector<PicturePoint>(to.begin(), to.end()));
}

// Each pair gives two rows of A h = 0; the h of least |A h| is the eigenvector of A^T A with
// the smallest eigenvalue. Summing A^T A pair by pair keeps memory constant for thousands of
// LEDs.
std::optional<Homography> Homography::fit(const std::vector<PicturePoint>& from,
                                          const std::vector<PicturePoint>& to) {
    if (from.size() < 4 || from.size() != to.size()) {
        return std::nullopt;
    }
    const Matrix tf = normalising(from);
    const Matrix tt = normalising(to);
    Eigen::Matrix<double, 9, 9> normal = Eigen::Matrix<double, 9, 9>::Zero();
    for (size_t k = 0; k < from.size(); ++k) {
        const Eigen::Vector3d p = lifted(tf, from[k]);
        const Eigen::Vector3d q = lifted(tt, to[k]);
        Eigen::Matrix<double, 2, 9> rows;
        rows << p(0), p(1), 1, 0, 0, 0, -q(0) * p(0), -q(0) * p(1), -q(0),  //
            0, 0, 0, p(0), p(1), 1, -q(1) * p(0), -q(1) * p(1), -q(1);
        normal += rows.transpose() * rows;
    }
    const Eigen::SelfAdjointEigenSolver<Eigen::Matrix<double, 9, 9>> solver(normal);
    const auto& values = solver.eigenvalues();
    // A second eigenvalue near zero means the points leave the map undetermined (all on a
    // line, or repeated).
    if (solver.info() != Eigen::Success || values(1) <= 1e-12 * values(8)) {
        return std::nullopt;
    }
    const Eigen::Matrix<double, 9, 1> h = solver.eigenvectors().col(0);
    Matrix n;
    n << h(0), h(1), h(2), h(3), h(4), h(5), h(6), h(7), h(8);
    return Homography(entries(tt.inverse() * n * tf));
}

PicturePoint Homography::map(PicturePoint p) const {
    const double w = m_h[6] * p.x + m_h[7] * p.y + m_h[8];
    if (w == 0) {
        const double inf = std::numeric_limits<double>::infinity();
        return {inf, inf};
    }
    return {(m_h[0] * p.x + m_h[1] * p.y + m_h[2]) / w, (m_h[3] * p.x + m_h[4] * p.y + m_h[5]) / w};
}

std::optional<Homography> Homography::inverted() const {
    const Matrix m = matrixOf(m_h);
    const double det = m.determinant();
    if (std::abs(det) < 1e-12 * std::pow(m.norm(), 3)) {
        return std::nullopt;
    }
    return Homography(entries(m.inverse()));
}
