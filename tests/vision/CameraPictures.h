#pragma once

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "CameraScene.h"
#include "vision/Calibrator.h"
#include "vision/LedReader.h"

// The virtual camera's pictures as the program receives them: drawn, served as JPEG at the view's
// quality, decoded to grey. Each picture draws its own noise.
class CameraPictures {
public:
    CameraPictures(QSize leds, const CameraView& view)
        : m_scene(leds, view), m_noiseSeed(view.seed * 7919u) {}

    const CameraScene& scene() const { return m_scene; }
    int width() const { return m_scene.leds().width(); }
    int height() const { return m_scene.leds().height(); }

    // The LEDs at `cells` (column, row of the module's front) at `level`, every other at `rest`.
    QImage take(const std::vector<QPoint>& cells, float level = 1, PictureEffects effects = {},
                float rest = 0) {
        std::vector<float> levels(static_cast<size_t>(width()) * height(), rest);
        for (const QPoint c : cells) {
            levels[static_cast<size_t>(c.y()) * width() + c.x()] = level;
        }
        effects.noiseSeed = ++m_noiseSeed;
        QImage decoded;
        decoded.loadFromData(m_scene.encode(m_scene.draw(levels, effects)), "JPEG");
        return decoded.convertToFormat(QImage::Format_Grayscale8);
    }

    static GreyPicture grey(const QImage& image) {
        return {image.width(), image.height(), static_cast<int>(image.bytesPerLine()),
                image.constBits()};
    }

private:
    CameraScene m_scene;
    quint32 m_noiseSeed;
};

// A reading's doubt, best candidates, motion and light off the LEDs, for a fault's message.
inline QString describe(const LedReading& r) {
    QString text = QString::asprintf("doubt %d, best", static_cast<int>(r.doubt));
    for (const LedScore& s : r.candidates) {
        text += QString::asprintf(" (%d,%d) %.2f", s.column, s.row, s.score);
    }
    const MotionResult& m = r.motion;
    return text + QString::asprintf(", motion %d mismatch %.2f/%.2f shift %.1f,%.1f, off %.2f",
                                    static_cast<int>(m.motion), m.mismatch, m.allowedMismatch,
                                    m.shift.x, m.shift.y, r.lightOffLeds);
}

// What reading the pictures of one or many views came to.
struct Figures {
    int views = 0;
    int refused = 0;
    int unchecked = 0;  // views whose surroundings cannot show a nudge
    long uncheckedNudgesCertain = 0;
    long readings = 0;  // single-LED pictures
    long right = 0;
    long doubt = 0;
    long wrong = 0;
    long doubtfulPictures = 0;
    long doubtfulCertain = 0;
    double worstPosition = 0;  // px from where the camera drew the LED
    int deadLedViews = 0;
    int deadLedsMisnamed = 0;  // calibrations naming other LEDs than the dead one
    long deadLedStepsLit = 0;  // pictures of a dead LED's step not read as none lit
};

// One view calibrated and read picture by picture, what came of it counted in `figures`; each fault
// is printed with the view's name.
class ViewCheck {
public:
    ViewCheck(QSize leds, const CameraView& view, Figures& figures, QByteArray name)
        : m_pictures(leds, view), m_figures(figures), m_name(std::move(name)) {}

    CameraPictures& pictures() { return m_pictures; }
    const QImage& dark() const { return m_dark; }
    const QImage& lit() const { return m_lit; }

    // Calibrates on a dark picture and a lit one with the LED at `dead` (column, row) dark, if
    // given. Returns the grid, or nullptr when refused.
    const LedGrid* calibrate(std::optional<QPoint> dead) {
        const CameraView& v = m_pictures.scene().view();
        m_dark = m_pictures.take({});
        m_lit =
            m_pictures.take(dead ? std::vector<QPoint>{*dead} : std::vector<QPoint>{}, 0, {}, 1);
        const Calibration c = Calibrator::calibrate(
            CameraPictures::grey(m_dark), CameraPictures::grey(m_lit), m_pictures.width(),
            m_pictures.height(), ModuleOrientation(v.rotation, v.mirrored));
        ++m_figures.views;
        if (!c.grid) {
            ++m_figures.refused;
            note(QString::asprintf("REFUSED (%d, found %d)", static_cast<int>(c.refusal), c.found));
            return nullptr;
        }
        m_grid = c.grid;
        if (!m_grid->motionCheck().canCheck()) {
            ++m_figures.unchecked;
            note(QStringLiteral("UNCHECKED"));
        }
        for (int row = 0; row < m_pictures.height(); ++row) {
            for (int column = 0; column < m_pictures.width(); ++column) {
                const PicturePoint at = m_grid->led(row, column).centre;
                const QPointF drawn = m_pictures.scene().ledCentre(column, row);
                m_figures.worstPosition = std::max(m_figures.worstPosition,
                                                   std::hypot(at.x - drawn.x(), at.y - drawn.y()));
            }
        }
        return &*m_grid;
    }

    // LED `cell` alone lit: right when certain and that LED.
    void readOne(QPoint cell) {
        const LedReading r = read(m_pictures.take({cell}));
        ++m_figures.readings;
        const bool right = r.led.column == cell.x() && r.led.row == cell.y();
        if (r.isCertain() && right) {
            ++m_figures.right;
            return;
        }
        ++(r.isCertain() ? m_figures.wrong : m_figures.doubt);
        note(QString::asprintf("%s: LED %d,%d: ", r.isCertain() ? "WRONG" : "DOUBT", cell.x(),
                               cell.y()) +
             describe(r));
    }

    // Pictures about LED (x, y) that must never read as certain: two neighbours lit, a hand-over at
    // half level each and the camera nudged one pitch along the row; with `all`, also two far
    // apart, none, a reflection on the module, an overexposed one and nudges of half and two
    // pitches along the row and of half, one and two along the column. A nudged picture may read as
    // certain where the calibration said that the surroundings cannot show a nudge. LED (x + 1, y)
    // must be on the module, and with `all` LED (x, y + 1) too.
    void readDoubtful(int x, int y, bool all) {
        CameraPictures& p = m_pictures;
        const QPointF alongRow = p.scene().ledCentre(x + 1, y) - p.scene().ledCentre(x, y);
        const auto nudged = [&](QPointF shift) {
            PictureEffects nudge;
            nudge.shift = shift;
            return std::pair{"nudged", p.take({{x, y}}, 1, nudge)};
        };
        std::vector<std::pair<const char*, QImage>> pictures = {
            {"two neighbours lit", p.take({{x, y}, {x + 1, y}})},
            {"a hand-over at half level each", p.take({{x, y}, {x + 1, y}}, 0.5f)},
            nudged(alongRow)};
        if (all) {
            const QPointF alongColumn = p.scene().ledCentre(x, y + 1) - p.scene().ledCentre(x, y);
            PictureEffects glare;
            glare.reflection = true;
            glare.reflectionAt = QPointF(p.width() / 4 + 0.5, p.height() / 4 + 0.5);
            PictureEffects bright;
            bright.gain = 1.8;
            pictures.insert(
                pictures.end(),
                {{"two far apart lit", p.take({{0, 0}, {p.width() - 1, p.height() - 1}})},
                 {"none lit", p.take({})},
                 {"a reflection on the module", p.take({{x, y}}, 1, glare)},
                 {"overexposed", p.take({{x, y}}, 1, bright)},
                 nudged(0.5 * alongRow),
                 nudged(2 * alongRow),
                 nudged(0.5 * alongColumn),
                 nudged(alongColumn),
                 nudged(2 * alongColumn)});
        }
        for (size_t k = 0; k < pictures.size(); ++k) {
            const LedReading r = read(pictures[k].second);
            if (pictures[k].first == std::string_view("nudged") &&
                !m_grid->motionCheck().canCheck()) {
                m_figures.uncheckedNudgesCertain += r.isCertain() ? 1 : 0;
                continue;
            }
            ++m_figures.doubtfulPictures;
            if (r.isCertain()) {
                ++m_figures.doubtfulCertain;
                note(QString::asprintf(
                         "CERTAIN where it must doubt (%s, %d,%d): ", pictures[k].first, x, y) +
                     describe(r));
            }
        }
    }

    // The dead LED named, nothing read lit at its step, its neighbours read one by one.
    void readAroundDeadLed(QPoint dead) {
        ++m_figures.deadLedViews;
        const std::vector<LatticeCell>& missing = m_grid->missingLeds();
        if (missing.size() != 1 || missing[0].column != dead.x() || missing[0].row != dead.y()) {
            ++m_figures.deadLedsMisnamed;
            note(QString::asprintf("MISNAMED dead LED %d,%d", dead.x(), dead.y()));
        }
        const LedReading step = read(m_pictures.take({}));
        if (step.doubt != Doubt::NoneLit) {
            ++m_figures.deadLedStepsLit;
            note(QString::asprintf("LIT at dead LED %d,%d's step: ", dead.x(), dead.y()) +
                 describe(step));
        }
        for (const QPoint cell : {dead + QPoint(-1, 0), dead + QPoint(1, 0), dead + QPoint(0, -1),
                                  dead + QPoint(0, 1)}) {
            if (QRect(0, 0, m_pictures.width(), m_pictures.height()).contains(cell)) {
                readOne(cell);
            }
        }
    }

private:
    LedReading read(const QImage& picture) const {
        return LedReader::read(*m_grid, CameraPictures::grey(picture));
    }
    void note(const QString& what) const {
        std::fprintf(stderr, "%s: %s\n", qPrintable(what), m_name.constData());
    }

    CameraPictures m_pictures;
    Figures& m_figures;
    QByteArray m_name;
    QImage m_dark;
    QImage m_lit;
    std::optional<LedGrid> m_grid;
};
