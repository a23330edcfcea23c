#pragma once

#include <QPointF>
#include <vector>

// A lit LED's spot as the camera draws it, pre-rendered at kPhases x kPhases sub-pixel offsets,
// so that a spot is added anywhere with its centre exact to 1/16 pixel.
//
// The spot: the LED's light, a disc of kDiscDiameter pitches on the module, through the local
// projection (so foreshortened as the module is turned), blurred by a Gaussian of `blur`
// pixels, plus a Gaussian halo of kHaloSigma pitches peaking at `glow` of the spot's peak.
// Values are scaled so that the spot at phase (0, 0) peaks at 1.
class LedSprites {
public:
    static constexpr int kPhases = 8;
    static constexpr double kDiscDiameter = 0.35;
    static constexpr double kHaloSigma = 0.3;

    // alongRow, alongColumn: the picture displacement of one pitch along the module's rows and
    // columns (CameraGeometry::pitchAxesAt); blur in pixels (0 .. 1.5).
    LedSprites(QPointF alongRow, QPointF alongColumn, double blur, double glow);

    // A sprite covers pixels -radius() .. radius() about its anchor pixel, in both directions.
    int radius() const { return m_radius; }
    int side() const { return 2 * m_radius + 1; }
    // side() x side() values, row by row, of the spot centred at the anchor pixel plus
    // (phaseX, phaseY) / kPhases pixels; phases 0 .. kPhases - 1.
    const float* sprite(int phaseX, int phaseY) const;

private:
    std::vector<float> render(double dx, double dy) const;
    std::vector<float> discCoverage(double dx, double dy) const;
    void addHalo(std::vector<float>& values, double dx, double dy) const;

    // From a picture offset in pixels to module-plane offsets in pitches.
    double m_inverse[4] = {1, 0, 0, 1};
    double m_blur = 0;
    double m_glow = 0;
    double m_haloSigma = 1;
    int m_radius = 1;
    // Half the disc's extent in pixels along x and y, for the cells worth sampling.
    double m_discReach[2] = {1, 1};
    std::vector<float> m_sprites;
};
