#include "cli/LocateReport.h"

#include <QJsonArray>

#include "vision/LedReader.h"

namespace {

QString place(const LedScore& s) {
    return QStringLiteral("row %1, column %2").arg(s.row + 1).arg(s.column + 1);
}

const char* doubtKey(Doubt reason) {
    switch (reason) {
        case Doubt::None:
            return "none";
        case Doubt::NoneLit:
            return "noneLit";
        case Doubt::SeveralLit:
            return "severalLit";
        case Doubt::Unclear:
            return "unclear";
        case Doubt::LightOffLeds:
            return "lightOffLeds";
        case Doubt::Moved:
            return "moved";
        case Doubt::Overexposed:
            return "overexposed";
        case Doubt::WrongPicture:
            return "wrongPicture";
    }
    return "unknown";
}

// The candidates worth a look: those not clearly dark, at least the best one.
QList<LedScore> worthALook(const LedReading& r) {
    QList<LedScore> shown;
    for (const LedScore& s : r.candidates) {
        if (shown.isEmpty() || s.score > LedReader::kUnlitScore) {
            shown.append(s);
        }
    }
    return shown;
}

}  // namespace

QString LocateReport::refusal(const Calibration& c, int width, int height) {
    const QString found = QStringLiteral("found %1 of the %2 LEDs").arg(c.found).arg(c.expected);
    switch (c.refusal) {
        case CalibrationRefusal::None:
            return {};
        case CalibrationRefusal::PicturesDiffer:
            return QStringLiteral("the dark and the lit picture are not of the same size");
        case CalibrationRefusal::BadModuleSize:
            return QStringLiteral(
                       "a module of %1 x %2 LEDs cannot be calibrated: each side "
                       "needs at least %3 LEDs, and the picture a pixel for each")
                .arg(width)
                .arg(height)
                .arg(Calibrator::kMinSide);
        case CalibrationRefusal::NoDifference:
            return QStringLiteral(
                "the lit picture shows no LED that the dark one does not: "
                "was the module lit when it was taken?");
        case CalibrationRefusal::Overexposed:
            return QStringLiteral(
                       "the lit picture is overexposed (%1 of %2 LEDs reach white): "
                       "shorten the exposure or lower the camera's gain")
                .arg(c.clipped)
                .arg(c.found);
        case CalibrationRefusal::TooSmall:
            return QStringLiteral(
                       "the LEDs are only %1 px apart in the picture, %2 px at least "
                       "are needed: move the camera closer or zoom in")
                .arg(c.pitch, 0, 'f', 1)
                .arg(Calibrator::kMinPitch);
        case CalibrationRefusal::QuarterTurned:
            return QStringLiteral(
                       "the picture shows %1 x %2 LEDs where %3 x %4 were expected: "
                       "it is turned a quarter; give --rotate 90 or 270")
                .arg(c.foundColumns)
                .arg(c.foundRows)
                .arg(c.expectedColumns)
                .arg(c.expectedRows);
        case CalibrationRefusal::PartlyOutside:
            return found + QStringLiteral(
                               ", and the module runs off the picture's edge: "
                               "bring all of it into the picture");
        case CalibrationRefusal::TooFew:
            return found + QStringLiteral(
                               ": are all of them lit in the lit picture, none "
                               "covered, and is the module size right?");
        case CalibrationRefusal::TooMany:
            return found + QStringLiteral(
                               ": there is more light than LEDs (a reflection, or "
                               "another light?), or the module size is wrong");
        case CalibrationRefusal::Irregular:
            return QStringLiteral(
                       "the lights found do not form one even grid (one lies %1 of a "
                       "pitch off it): is something else lit, or shining on the "
                       "module?")
                .arg(c.worstResidual, 0, 'f', 2);
    }
    return {};
}

QString LocateReport::doubt(Doubt reason) {
    switch (reason) {
        case Doubt::None:
            return {};
        case Doubt::NoneLit:
            return QStringLiteral("no LED is lit");
        case Doubt::SeveralLit:
            return QStringLiteral("more than one LED is lit");
        case Doubt::Unclear:
            return QStringLiteral("an LED is neither clearly lit nor clearly dark");
        case Doubt::LightOffLeds:
            return QStringLiteral("there is light between or beside the LEDs (a reflection?)");
        case Doubt::Moved:
            return QStringLiteral("the camera has moved since calibration");
        case Doubt::Overexposed:
            return QStringLiteral("the picture is overexposed");
        case Doubt::WrongPicture:
            return QStringLiteral("the picture is not of the calibration pictures' size");
    }
    return {};
}

QString LocateReport::line(const QString& file, const LedReading& r) {
    if (r.isCertain()) {
        return QStringLiteral("%1  %2  (score %3)\n")
            .arg(file, place(r.led))
            .arg(r.led.score, 0, 'f', 2);
    }
    QStringList candidates;
    for (const LedScore& s : worthALook(r)) {
        candidates.append(place(s) + QStringLiteral(" ") + QString::number(s.score, 'f', 2));
    }
    const QString best =
        candidates.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(candidates.join(u"; "));
    return QStringLiteral("%1  doubt: %2%3\n").arg(file, doubt(r.doubt), best);
}

QJsonObject LocateReport::json(const QString& file, const LedReading& r) {
    QJsonObject o{{QStringLiteral("file"), file}, {QStringLiteral("certain"), r.isCertain()}};
    if (r.isCertain()) {
        o.insert(QStringLiteral("row"), r.led.row + 1);
        o.insert(QStringLiteral("column"), r.led.column + 1);
        o.insert(QStringLiteral("score"), r.led.score);
        return o;
    }
    o.insert(QStringLiteral("doubt"), QLatin1String(doubtKey(r.doubt)));
    o.insert(QStringLiteral("reason"), doubt(r.doubt));
    QJsonArray candidates;
    for (const LedScore& s : r.candidates) {
        candidates.append(QJsonObject{{QStringLiteral("row"), s.row + 1},
                                      {QStringLiteral("column"), s.column + 1},
                                      {QStringLiteral("score"), s.score}});
    }
    o.insert(QStringLiteral("candidates"), candidates);
    return o;
}
