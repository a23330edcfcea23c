#include "camera/FrameReader.h"

#include <QCoreApplication>
#include <QStringList>
#include <algorithm>
#include <vector>

#include "vision/Calibrator.h"
#include "vision/GreyPicture.h"
#include "vision/LedReader.h"
#include "vision/PolarityJudge.h"

using Light = CameraReading::Light;
using CameraDoubt = CameraReading::Doubt;

namespace {

QString text(const char* source) {
    return QCoreApplication::translate("FrameReader", source);
}

GreyPicture greyOf(const QImage& image) {
    return {image.width(), image.height(), static_cast<int>(image.bytesPerLine()),
            image.constBits()};
}

QImage decoded(const CameraFrame& frame) {
    if (!frame.grey.isNull()) {
        return frame.grey;
    }
    return QImage::fromData(frame.jpeg, "JPG").convertToFormat(QImage::Format_Grayscale8);
}

Light lightOf(ModuleLight light) {
    switch (light) {
        case ModuleLight::Lit:
            return Light::Lit;
        case ModuleLight::Dark:
            return Light::Dark;
        case ModuleLight::Unsure:
            break;
    }
    return Light::Unsure;
}

CameraDoubt doubtOf(Doubt doubt) {
    switch (doubt) {
        case Doubt::None:
            return CameraDoubt::None;
        case Doubt::NoneLit:
            return CameraDoubt::NoneLit;
        case Doubt::SeveralLit:
            return CameraDoubt::SeveralLit;
        case Doubt::Unclear:
            return CameraDoubt::Unclear;
        case Doubt::LightOffLeds:
            return CameraDoubt::LightOffLeds;
        case Doubt::Overexposed:
            return CameraDoubt::Overexposed;
        case Doubt::Moved:
        case Doubt::WrongPicture:  // another size than the calibration's: not the same view
            break;
    }
    return CameraDoubt::Moved;
}

// A module cell (row and column from 0) as a grid cell (x the column, y the row, from 1).
QPoint gridCell(const LedScore& score) {
    return {score.column + 1, score.row + 1};
}

// Why a calibration was refused, in words for the person holding the camera.
QString refusalText(const Calibration& c) {
    switch (c.refusal) {
        case CalibrationRefusal::NoDifference:
            return text(
                QT_TRANSLATE_NOOP("FrameReader", "亮和暗的两张画面没有差别：相机对准模块了吗？"));
        case CalibrationRefusal::Overexposed:
            return text(QT_TRANSLATE_NOOP("FrameReader", "画面过曝：请把相机的曝光或增益调低"));
        case CalibrationRefusal::TooSmall:
            return text(QT_TRANSLATE_NOOP(
                            "FrameReader",
                            "灯在画面中太小（相邻两灯只隔 %1 像素，至少要 6）：请把相机移近或放大"))
                .arg(c.pitch, 0, 'f', 1);
        case CalibrationRefusal::QuarterTurned:
            return text(QT_TRANSLATE_NOOP("FrameReader",
                                          "模块在画面中是横着的（看到 %1×%2 个灯，应是 %3×%4）："
                                          "请在相机窗口中把画面转 90°"))
                .arg(c.foundColumns)
                .arg(c.foundRows)
                .arg(c.expectedColumns)
                .arg(c.expectedRows);
        case CalibrationRefusal::PartlyOutside:
            return text(
                QT_TRANSLATE_NOOP("FrameReader", "模块有一部分在画面外：请让整个模块进入画面"));
        case CalibrationRefusal::TooFew:
            return text(QT_TRANSLATE_NOOP("FrameReader", "只找到 %1 个灯，应有 %2 个"))
                .arg(c.found)
                .arg(c.expected);
        case CalibrationRefusal::TooMany:
            return text(QT_TRANSLATE_NOOP("FrameReader",
                                          "找到 %1 个亮点，应有 %2 个灯：画面中有别的光吗？"))
                .arg(c.found)
                .arg(c.expected);
        case CalibrationRefusal::Irregular:
            return text(QT_TRANSLATE_NOOP(
                "FrameReader", "灯排得不像一个整齐的网格：请让相机正对模块，别斜得太多"));
        case CalibrationRefusal::PicturesDiffer:
        case CalibrationRefusal::BadModuleSize:
        case CalibrationRefusal::None:
            break;
    }
    return text(QT_TRANSLATE_NOOP("FrameReader", "这两张画面不能用来校准"));
}

// The LEDs that stayed dark in the lit calibration picture, rows and columns counted from 1 as
// on the grids: most likely dead, so the walk will see nothing light at their steps.
QString missingText(const std::vector<LatticeCell>& missing) {
    QStringList cells;
    for (const LatticeCell cell : missing) {
        cells << text(QT_TRANSLATE_NOOP("FrameReader", "第 %1 行 第 %2 列"))
                     .arg(cell.row + 1)
                     .arg(cell.column + 1);
    }
    const char* const source =
        QT_TRANSLATE_N_NOOP("FrameReader", "校准时有 %n 个灯没亮（%1）：可能是坏灯。");
    return QCoreApplication::translate("FrameReader", source, nullptr,
                                       static_cast<int>(missing.size()))
        .arg(cells.join(text(QT_TRANSLATE_NOOP("FrameReader", "、"))));
}

// What a calibration made cannot promise, one line each: LEDs it did not see lit, and (without
// texture around the module) that a nudged camera cannot be told from a still one.
QString cautionText(const LedGrid& grid) {
    QStringList notes;
    if (!grid.missingLeds().empty()) {
        notes << missingText(grid.missingLeds());
    }
    if (!grid.motionCheck().canCheck()) {
        notes << text(QT_TRANSLATE_NOOP("FrameReader",
                                        "模块周围太暗，看不出相机是否被碰动：请打开一点灯，"
                                        "别碰相机。"));
    }
    return notes.join(u'\n');
}

}  // namespace

FrameReader::FrameReader(QObject* parent) : QObject(parent) {}

void FrameReader::setModule(QSize leds) {
    if (leds != m_module) {
        m_module = leds;
        forget();
    }
}

void FrameReader::setOrientation(int turnDegrees, bool mirrored) {
    m_orientation = ModuleOrientation(turnDegrees, mirrored);
    forget();
}

void FrameReader::forget() {
    m_grid.reset();
    m_lit.clear();
    m_dark.clear();
}

void FrameReader::read(const CameraFrame& frame) {
    const QImage picture = decoded(frame);
    if (picture.isNull()) {
        return;  // not a picture: the next one may be
    }
    const GreyPicture grey = greyOf(picture);
    CameraSnapshot snapshot;
    snapshot.picture = picture;
    CameraReading& reading = snapshot.reading;
    reading.frame = frame.sequence;
    reading.arrived = frame.arrived;
    if (m_grid) {
        const LedReading leds = LedReader::read(*m_grid, grey);
        reading.light = lightOf(PolarityJudge::judge(*m_grid, grey).light);
        reading.doubt = doubtOf(leds.doubt);
        reading.led = gridCell(leds.led);
        // Only LEDs that are more than dark are worth a person's look, and none read through a
        // calibration the picture no longer matches.
        for (const LedScore& candidate : leds.candidates) {
            if (candidate.score <= LedReader::kUnlitScore || reading.doubt == CameraDoubt::Moved) {
                continue;
            }
            reading.candidates.append(gridCell(candidate));
        }
        snapshot.module = m_module;
        snapshot.scores = QList<float>(leds.scores.begin(), leds.scores.end());
        for (const LedPlace& led : m_grid->leds()) {
            snapshot.leds.append(QPointF(led.centre.x, led.centre.y));
        }
    } else if (!m_module.isEmpty()) {
        reading.light =
            lightOf(PolarityJudge::judge(grey, m_module.width(), m_module.height()).light);
    }
    keep(frame.sequence, picture, reading.light);
    Q_EMIT readingReady(reading, snapshot);
}

// The pictures of the last few frames in which the module was lit, and dark.
void FrameReader::keep(qint64 frame, const QImage& picture, Light light) {
    if (light == Light::Unsure) {
        return;
    }
    QHash<qint64, QImage>& kept = light == Light::Lit ? m_lit : m_dark;
    kept.insert(frame, picture);
    if (kept.size() > kKept) {
        kept.remove(*std::min_element(kept.keyBegin(), kept.keyEnd()));
    }
}

void FrameReader::calibrate(qint64 darkFrame, qint64 litFrame) {
    const QImage dark = m_dark.value(darkFrame);
    const QImage lit = m_lit.value(litFrame);
    if (dark.isNull() || lit.isNull() || m_module.isEmpty()) {
        Q_EMIT calibrated(false, text(QT_TRANSLATE_NOOP("FrameReader", "这两张画面已经不在了")));
        return;
    }
    Calibration c = Calibrator::calibrate(greyOf(dark), greyOf(lit), m_module.width(),
                                          m_module.height(), m_orientation);
    m_grid = std::move(c.grid);
    if (!m_grid) {
        Q_EMIT calibrated(false, refusalText(c));
        return;
    }
    Q_EMIT calibrated(true, cautionText(*m_grid));
}
