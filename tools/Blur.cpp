#include "Blur.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace Blur {

std::vector<float> kernel(double sigma) {
    const int reach = static_cast<int>(std::ceil(3 * sigma));
    std::vector<float> weights;
    for (int i = -reach; i <= reach; ++i) {
        weights.push_back(static_cast<float>(std::exp(-i * i / (2 * sigma * sigma))));
    }
    float sum = 0;
    for (float weight : weights) {
        sum += weight;
    }
    for (float& weight : weights) {
        weight /= sum;
    }
    return weights;
}

void alongRows(std::vector<float>& picture, int width, int height,
               const std::vector<float>& weights) {
    const int reach = static_cast<int>(weights.size() / 2);
    std::vector<float> padded(static_cast<std::size_t>(width + 2 * reach));
    for (int y = 0; y < height; ++y) {
        float* row = picture.data() + static_cast<std::ptrdiff_t>(y) * width;
        std::fill(padded.begin(), padded.begin() + reach, row[0]);
        std::copy(row, row + width, padded.begin() + reach);
        std::fill(padded.end() - reach, padded.end(), row[width - 1]);
        for (int x = 0; x < width; ++x) {
            float sum = 0;
            for (std::size_t k = 0; k < weights.size(); ++k) {
                sum += weights[k] * padded[static_cast<std::size_t>(x) + k];
            }
            row[x] = sum;
        }
    }
}

// Down the columns a whole row at a time: the inner loop runs along memory.
void alongColumns(std::vector<float>& picture, int width, int height,
                  const std::vector<float>& weights) {
    const int reach = static_cast<int>(weights.size() / 2);
    const std::vector<float> source = picture;
    for (int y = 0; y < height; ++y) {
        float* target = picture.data() + static_cast<std::ptrdiff_t>(y) * width;
        std::fill(target, target + width, 0.0f);
        for (int k = -reach; k <= reach; ++k) {
            const float weight = weights[static_cast<std::size_t>(k + reach)];
            const float* from =
                source.data() +
                static_cast<std::ptrdiff_t>(std::clamp(y + k, 0, height - 1)) * width;
            for (int x = 0; x < width; ++x) {
                target[x] += weight * from[x];
            }
        }
    }
}

}  // namespace Blur
