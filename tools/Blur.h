#pragma once

#include <vector>

// A Gaussian blur of grey pictures held as floats, row by row, width x height, one direction
// at a time. Pixels beyond an edge count as the edge pixel.
namespace Blur {

// A Gaussian of `sigma` pixels sampled at whole pixels out to 3 sigma, summing to 1.
std::vector<float> kernel(double sigma);
void alongRows(std::vector<float>& picture, int width, int height,
               const std::vector<float>& weights);
void alongColumns(std::vector<float>& picture, int width, int height,
                  const std::vector<float>& weights);

}  // namespace Blur
