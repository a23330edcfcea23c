#include "vision/ConnectedComponents.h"

namespace {

constexpr int kNeighbours[8][2] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0},
                                   {1, 0},   {-1, 1}, {0, 1},  {1, 1}};

}  // namespace

ConnectedComponents::ConnectedComponents(const FloatPlane& plane)
    : m_plane(plane), m_labels(static_cast<size_t>(plane.width()) * plane.height(), 0) {}

void ConnectedComponents::relabel(const std::vector<long>& pixels, int label) {
    for (long p : pixels) {
        m_labels[p] = label;
    }
}

Component ConnectedComponents::grow(int seedX, int seedY, float level, int label) {
    Component c;
    if (!m_plane.contains(seedX, seedY) || m_plane.at(seedX, seedY) < level ||
        labelAt(seedX, seedY) != 0) {
        return c;
    }
    const int width = m_plane.width();
    std::vector<long> taken{index(seedX, seedY)};
    m_labels[taken.front()] = label;
    double sumX = 0;
    double sumY = 0;
    // `taken` doubles as the queue: every pixel in it is visited once, in the order taken.
    for (size_t next = 0; next < taken.size(); ++next) {
        const int x = static_cast<int>(taken[next] % width);
        const int y = static_cast<int>(taken[next] / width);
        const double w = m_plane.at(x, y) - level + 1.0;
        c.weight += w;
        sumX += w * x;
        sumY += w * y;
        for (const auto& [dx, dy] : kNeighbours) {
            const int nx = x + dx;
            const int ny = y + dy;
            if (!m_plane.contains(nx, ny) || m_plane.at(nx, ny) < level) {
                continue;
            }
            const int owner = labelAt(nx, ny);
            if (owner == 0) {
                m_labels[index(nx, ny)] = label;
                taken.push_back(index(nx, ny));
            } else if (owner != label && c.mergedInto == 0) {
                c.mergedInto = owner;
            }
        }
    }
    c.area = static_cast<int>(taken.size());
    c.centroid = {sumX / c.weight, sumY / c.weight};
    if (c.mergedInto != 0) {
        relabel(taken, c.mergedInto);
    }
    return c;
}
