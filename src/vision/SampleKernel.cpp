#include "vision/SampleKernel.h"

#include <algorithm>
#include <cmath>

SampleKernel::SampleKernel(PicturePoint centre, double sigma, int pictureWidth, int pictureHeight) {
    const double reach = 2 * sigma;
    m_left = std::max(0, static_cast<int>(std::ceil(centre.x - reach)));
    m_top = std::max(0, static_cast<int>(std::ceil(centre.y - reach)));
    const int right = std::min(pictureWidth - 1, static_cast<int>(std::floor(centre.x + reach)));
    const int bottom = std::min(pictureHeight - 1, static_cast<int>(std::floor(centre.y + reach)));
    if (right < m_left || bottom < m_top) {
        return;
    }
    m_width = right - m_left + 1;
    m_height = bottom - m_top + 1;
    m_weights.resize(static_cast<size_t>(m_width) * m_height);
    double total = 0;
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) {
            const double dx = m_left + x - centre.x;
            const double dy = m_top + y - centre.y;
            const double d2 = dx * dx + dy * dy;
            const double w = d2 <= reach * reach ? std::exp(-0.5 * d2 / (sigma * sigma)) : 0.0;
            m_weights[static_cast<size_t>(y) * m_width + x] = static_cast<float>(w);
            total += w;
        }
    }
    if (total <= 0) {
        m_weights.clear();
        return;
    }
    for (float& w : m_weights) {
        w = static_cast<float>(w / total);
    }
}

double SampleKernel::mean(const GreyPicture& picture) const {
    double sum = 0;
    const float* w = m_weights.data();
    for (int y = 0; y < m_height; ++y) {
        const std::uint8_t* row = picture.bytes + static_cast<long>(m_top + y) * picture.stride;
        for (int x = 0; x < m_width; ++x) {
            sum += *w++ * row[m_left + x];
        }
    }
    return sum;
}

int SampleKernel::brightest(const GreyPicture& picture) const {
    int most = 0;
    const float* w = m_weights.data();
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) {
            if (*w++ > 0) {
                most = std::max(most, picture.at(m_left + x, m_top + y));
            }
        }
    }
    return most;
}
