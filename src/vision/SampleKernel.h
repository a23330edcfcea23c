#pragma once

#include <vector>

#include "vision/GreyPicture.h"
#include "vision/PicturePoint.h"

// A weighted mean of the pixels around a place, the way the finder measures how bright an LED
// (or a spot between LEDs) is: Gaussian weights of `sigma` pixels about a sub-pixel centre, over
// the pixels within 2 sigma that lie inside the picture, normalised to sum 1. Weighing many
// pixels keeps the sensor noise of the mean low, and the weights follow the centre's fraction
// of a pixel, so an LED between two pixel centres is measured fairly.
// Example: at centre (10, 10) with sigma 1 on a picture that is 100 everywhere except 200 at
// pixel (10, 10), the mean is about 100 + 100 x 0.2.
class SampleKernel {
public:
    SampleKernel() = default;
    // The kernel for pictures of `pictureWidth` x `pictureHeight`; empty when no pixel within
    // 2 sigma of the centre lies inside.
    SampleKernel(PicturePoint centre, double sigma, int pictureWidth, int pictureHeight);

    bool isEmpty() const { return m_weights.empty(); }
    // The weighted mean of the picture's pixels; 0 for an empty kernel. The picture must have
    // the size the kernel was made for.
    double mean(const GreyPicture& picture) const;
    // The brightest of its pixels; 0 for an empty kernel.
    int brightest(const GreyPicture& picture) const;

private:
    int m_left = 0;
    int m_top = 0;
    int m_width = 0;
    int m_height = 0;
    std::vector<float> m_weights;  // m_width x m_height, row-major
};
