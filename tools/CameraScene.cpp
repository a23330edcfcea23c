#include "CameraScene.h"

#include <QBuffer>
#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "Blur.h"
#include "RoomTexture.h"
#include "SeededRandom.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
// Reflectances of what the room light falls on: the module's black board, its LEDs' packages
// (dark, but lighter than the board), a plain wall, and whatever lies past the wall's horizon.
constexpr float kBoard = 0.05f;
constexpr float kDarkLed = 0.3f;
constexpr double kDarkLedRadius = 0.25;
constexpr float kPlainWall = 0.12f;
constexpr float kFarAway = 0.4f;
constexpr int kNoiseLength = 1 << 17;

LedSprites spritesFor(const CameraGeometry& geometry, QSize leds, const CameraView& view) {
    const QPointF middle((leds.width() - 1) / 2.0, (leds.height() - 1) / 2.0);
    const auto [alongRow, alongColumn] = geometry.pitchAxesAt(middle);
    return LedSprites(alongRow, alongColumn, view.blur, view.glow);
}

}  // namespace

CameraScene::CameraScene(QSize leds, const CameraView& view)
    : m_leds(leds),
      m_view(view),
      m_geometry(leds, view),
      m_sprites(spritesFor(m_geometry, leds, view)) {
    placeLeds();
    renderBackground();
    makeNoise();
}

void CameraScene::placeLeds() {
    const int width = m_leds.width();
    m_centres.clear();
    m_ledPeaks.clear();
    for (int y = 0; y < m_leds.height(); ++y) {
        for (int x = 0; x < width; ++x) {
            const QPointF centre = m_geometry.toPicture(QPointF(x, y));
            const double spread =
                2 * SeededRandom::share(SeededRandom::hash(m_view.seed, 1, static_cast<quint32>(x),
                                                           static_cast<quint32>(y))) -
                1;
            m_centres.push_back(centre);
            m_ledPeaks.push_back(
                static_cast<float>(kLedPeak * (1 + m_view.ledSpread * spread) * vignette(centre)));
        }
    }
    m_smallestPitch = std::numeric_limits<double>::max();
    const auto closer = [this](int a, int b) {
        const QPointF d =
            m_centres[static_cast<std::size_t>(a)] - m_centres[static_cast<std::size_t>(b)];
        m_smallestPitch = std::min(m_smallestPitch, std::hypot(d.x(), d.y()));
    };
    for (int i = 0; i < static_cast<int>(m_centres.size()); ++i) {
        if (i % width + 1 < width) {
            closer(i, i + 1);
        }
        if (i + width < static_cast<int>(m_centres.size())) {
            closer(i, i + width);
        }
    }
}

float CameraScene::vignette(QPointF picture) const {
    const QPointF fromCentre = picture - m_geometry.pictureCentre();
    const QPointF corner = m_geometry.pictureCentre();
    const double share =
        QPointF::dotProduct(fromCentre, fromCentre) / QPointF::dotProduct(corner, corner);
    return static_cast<float>(std::max(0.0, 1 - (1 - m_view.vignetting) * share));
}

void CameraScene::renderBackground() {
    m_margin = std::max(m_view.frame.width(), m_view.frame.height()) / 16;
    m_backgroundWidth = m_view.frame.width() + 2 * m_margin;
    const int height = m_view.frame.height() + 2 * m_margin;
    m_background.resize(static_cast<std::size_t>(m_backgroundWidth * height));
    const RoomTexture room(m_view.seed, m_leds);
    // A pixel's extent on the module, for soft edges on the dark LEDs.
    const double pixelInLeds = 1 / std::max(1.0, m_smallestPitch);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < m_backgroundWidth; ++x) {
            const QPointF picture(x - m_margin, y - m_margin);
            const std::optional<QPointF> led = m_geometry.toModule(picture);
            float reflectance = kFarAway;
            if (led && QRectF(-0.5, -0.5, m_leds.width(), m_leds.height()).contains(*led)) {
                reflectance = moduleReflectance(*led, pixelInLeds);
            } else if (led) {
                reflectance =
                    m_view.surroundings ? room.reflectanceAt(led->x(), led->y()) : kPlainWall;
            }
            m_background[static_cast<std::size_t>(y * m_backgroundWidth + x)] =
                static_cast<float>(m_view.ambient) * kWhite * reflectance * vignette(picture);
        }
    }
    if (m_view.blur >= 0.3) {
        const std::vector<float> kernel = Blur::kernel(m_view.blur);
        Blur::alongRows(m_background, m_backgroundWidth, height, kernel);
        Blur::alongColumns(m_background, m_backgroundWidth, height, kernel);
    }
}

// The black board with each dark LED a lighter disc, its edge as soft as a pixel is wide.
float CameraScene::moduleReflectance(QPointF led, double pixelInLeds) const {
    const double dx = led.x() - std::round(led.x());
    const double dy = led.y() - std::round(led.y());
    const double inside = (kDarkLedRadius - std::hypot(dx, dy)) / pixelInLeds + 0.5;
    const float share = static_cast<float>(std::clamp(inside, 0.0, 1.0));
    return kBoard + (kDarkLed - kBoard) * share;
}

// Box-Muller on seeded uniform numbers.
void CameraScene::makeNoise() {
    m_noise.resize(kNoiseLength);
    for (int i = 0; i < kNoiseLength; i += 2) {
        const auto index = static_cast<quint32>(i);
        const double u1 =
            std::max(1e-12, SeededRandom::share(SeededRandom::hash(m_view.seed, 2, index)));
        const double u2 = SeededRandom::share(SeededRandom::hash(m_view.seed, 3, index));
        const double radius = m_view.noise * std::sqrt(-2 * std::log(u1));
        m_noise[static_cast<std::size_t>(i)] = static_cast<float>(radius * std::cos(2 * kPi * u2));
        m_noise[static_cast<std::size_t>(i + 1)] =
            static_cast<float>(radius * std::sin(2 * kPi * u2));
    }
}

QPointF CameraScene::ledCentre(int x, int y) const {
    return m_centres.at(static_cast<std::size_t>(y * m_leds.width() + x));
}

QPointF CameraScene::shiftFor(QPointF pitches) const {
    const QPointF middle((m_leds.width() - 1) / 2.0, (m_leds.height() - 1) / 2.0);
    const auto [alongRow, alongColumn] = m_geometry.pitchAxesAt(middle);
    return alongRow * pitches.x() + alongColumn * pitches.y();
}

bool CameraScene::moduleInside() const {
    // Pixel centres run 0 .. width-1, so the picture's edges lie half a pixel further out.
    const QRectF inner =
        QRectF(-0.5, -0.5, m_view.frame.width(), m_view.frame.height())
            .adjusted(m_smallestPitch, m_smallestPitch, -m_smallestPitch, -m_smallestPitch);
    return std::all_of(m_centres.begin(), m_centres.end(), [&inner](QPointF centre) {
        return centre.x() >= inner.left() && centre.x() <= inner.right() &&
               centre.y() >= inner.top() && centre.y() <= inner.bottom();
    });
}

QImage CameraScene::draw(const std::vector<float>& levels, const PictureEffects& effects) const {
    if (levels.size() != m_centres.size()) {
        throw std::invalid_argument("CameraScene::draw: one level an LED");
    }
    // One canvas a thread, kept between pictures: a fresh one would cost page faults each time.
    thread_local std::vector<float> canvas;
    canvas.resize(static_cast<std::size_t>(m_view.frame.width() * m_view.frame.height()));
    copyBackground(canvas.data(), effects.shift);
    addLeds(canvas.data(), levels, effects);
    if (effects.reflection) {
        addReflection(canvas.data(), effects);
    }
    return finish(canvas.data(), effects);
}

void CameraScene::copyBackground(float* canvas, QPointF shift) const {
    const int width = m_view.frame.width();
    const int height = m_view.frame.height();
    const int backgroundHeight = height + 2 * m_margin;
    const int sx = static_cast<int>(std::lround(shift.x()));
    const int sy = static_cast<int>(std::lround(shift.y()));
    for (int y = 0; y < height; ++y) {
        const int row = std::clamp(y - sy + m_margin, 0, backgroundHeight - 1);
        const float* source =
            m_background.data() + static_cast<std::ptrdiff_t>(row) * m_backgroundWidth;
        float* target = canvas + static_cast<std::ptrdiff_t>(y) * width;
        const int first = m_margin - sx;
        if (first >= 0 && first + width <= m_backgroundWidth) {
            std::copy(source + first, source + first + width, target);
            continue;
        }
        // Nudged further than the margin: the edge of the background stretches.
        for (int x = 0; x < width; ++x) {
            target[x] = source[std::clamp(first + x, 0, m_backgroundWidth - 1)];
        }
    }
}

void CameraScene::addLeds(float* canvas, const std::vector<float>& levels,
                          const PictureEffects& effects) const {
    const int width = m_leds.width();
    for (std::size_t i = 0; i < levels.size(); ++i) {
        const int row = static_cast<int>(i) / width;
        const bool banded =
            row >= effects.bandFirstRow && row < effects.bandFirstRow + effects.bandRows;
        const float level = levels[i] * (banded ? static_cast<float>(effects.bandLevel) : 1.0f);
        if (level > 0) {
            addSprite(canvas, m_centres[i] + effects.shift, level * m_ledPeaks[i]);
        }
    }
}

void CameraScene::addSprite(float* canvas, QPointF centre, float amplitude) const {
    constexpr int kPhases = LedSprites::kPhases;
    int anchorX = static_cast<int>(std::floor(centre.x()));
    int anchorY = static_cast<int>(std::floor(centre.y()));
    int phaseX = static_cast<int>(std::lround((centre.x() - anchorX) * kPhases));
    int phaseY = static_cast<int>(std::lround((centre.y() - anchorY) * kPhases));
    anchorX += phaseX / kPhases;
    anchorY += phaseY / kPhases;
    const float* sprite = m_sprites.sprite(phaseX % kPhases, phaseY % kPhases);
    const int radius = m_sprites.radius();
    const int side = m_sprites.side();
    const int width = m_view.frame.width();
    const int firstX = std::max(0, anchorX - radius);
    const int lastX = std::min(width - 1, anchorX + radius);
    const int firstY = std::max(0, anchorY - radius);
    const int lastY = std::min(m_view.frame.height() - 1, anchorY + radius);
    for (int y = firstY; y <= lastY; ++y) {
        const float* from = sprite + (y - anchorY + radius) * side + (firstX - anchorX + radius);
        float* to = canvas + static_cast<std::ptrdiff_t>(y) * width;
        for (int x = firstX; x <= lastX; ++x) {
            to[x] += amplitude * *from++;
        }
    }
}

// A soft round spot: a Gaussian whose sigma is half the radius, sized by the local pitch.
void CameraScene::addReflection(float* canvas, const PictureEffects& effects) const {
    const QPointF centre = m_geometry.toPicture(effects.reflectionAt) + effects.shift;
    const auto [alongRow, alongColumn] = m_geometry.pitchAxesAt(effects.reflectionAt);
    const double pitch =
        (std::hypot(alongRow.x(), alongRow.y()) + std::hypot(alongColumn.x(), alongColumn.y())) / 2;
    const double sigma = std::max(0.5, effects.reflectionRadius * pitch / 2);
    const float peak = static_cast<float>(effects.reflectionLevel) * kLedPeak * vignette(centre);
    const int reach = static_cast<int>(std::ceil(3 * sigma));
    const int width = m_view.frame.width();
    const int height = m_view.frame.height();
    const int firstX = std::max(0, static_cast<int>(centre.x()) - reach);
    const int lastX = std::min(width - 1, static_cast<int>(centre.x()) + reach);
    std::vector<float> across;
    for (int x = firstX; x <= lastX; ++x) {
        across.push_back(
            static_cast<float>(std::exp(-std::pow(x - centre.x(), 2) / (2 * sigma * sigma))));
    }
    for (int y = std::max(0, static_cast<int>(centre.y()) - reach);
         y <= std::min(height - 1, static_cast<int>(centre.y()) + reach); ++y) {
        const float down =
            peak * static_cast<float>(std::exp(-std::pow(y - centre.y(), 2) / (2 * sigma * sigma)));
        float* to = canvas + static_cast<std::ptrdiff_t>(y) * width + firstX;
        for (const float value : across) {
            *to++ += down * value;
        }
    }
}

QImage CameraScene::finish(const float* canvas, const PictureEffects& effects) const {
    const int width = m_view.frame.width();
    QImage picture(m_view.frame, QImage::Format_Grayscale8);
    const auto gain = static_cast<float>(effects.gain);
    const auto rows = static_cast<quint32>(kNoiseLength - width);
    for (int y = 0; y < m_view.frame.height(); ++y) {
        const quint32 start =
            SeededRandom::hash(effects.noiseSeed, 4, static_cast<quint32>(y)) % rows;
        const float* noise = m_noise.data() + start;
        const float* from = canvas + static_cast<std::ptrdiff_t>(y) * width;
        uchar* to = picture.scanLine(y);
        for (int x = 0; x < width; ++x) {
            const float value = std::clamp(from[x] * gain + noise[x] + 0.5f, 0.0f, 255.0f);
            to[x] = static_cast<uchar>(value);
        }
    }
    return picture;
}

QByteArray CameraScene::encode(const QImage& picture) const {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "JPG", m_view.jpegQuality);
    return bytes;
}
