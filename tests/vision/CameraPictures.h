#pragma once

#include <QImage>
#include <QSize>
#include <vector>

#include "CameraScene.h"
#include "vision/GreyPicture.h"
#include "vision/ModuleOrientation.h"

// The virtual camera's pictures as the program receives them: drawn, served as JPEG at the
// view's quality, decoded to grey. Each picture draws its own noise.
class CameraPictures {
public:
    CameraPictures(QSize leds, const CameraView& view)
        : m_scene(leds, view), m_noiseSeed(view.seed * 7919u) {}

    const CameraScene& scene() const { return m_scene; }
    int width() const { return m_scene.leds().width(); }
    int height() const { return m_scene.leds().height(); }
    ModuleOrientation orientation() const {
        return ModuleOrientation(m_scene.view().rotation, m_scene.view().mirrored);
    }

    // Every LED at `level`.
    std::vector<float> levels(float level = 0) const {
        return std::vector<float>(static_cast<size_t>(width()) * height(), level);
    }
    QImage take(const std::vector<float>& levels, PictureEffects effects = {}) {
        effects.noiseSeed = ++m_noiseSeed;
        QImage decoded;
        decoded.loadFromData(m_scene.encode(m_scene.draw(levels, effects)), "JPEG");
        return decoded.convertToFormat(QImage::Format_Grayscale8);
    }
    QImage dark() { return take(levels(0)); }
    QImage lit() { return take(levels(1)); }
    // LED (column, row) of the module's front alone at `level`.
    QImage one(int column, int row, float level = 1, const PictureEffects& effects = {}) {
        std::vector<float> l = levels(0);
        l[static_cast<size_t>(row) * width() + column] = level;
        return take(l, effects);
    }

    static GreyPicture grey(const QImage& image) {
        return {image.width(), image.height(), static_cast<int>(image.bytesPerLine()),
                image.constBits()};
    }

private:
    CameraScene m_scene;
    quint32 m_noiseSeed;
};
