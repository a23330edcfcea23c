#include "CameraCommandLine.h"

#include <QCommandLineParser>
#include <QRegularExpression>
#include <QTextStream>
#include <cstdlib>

namespace {

using std::chrono::milliseconds;

[[noreturn]] void refuse(const QString& name, const QString& what) {
    QTextStream(stderr) << "--" << name << ' ' << what << '\n';
    std::exit(2);
}

// A CameraView member read as a number in [low, high].
struct ViewNumber {
    const char* name;
    const char* help;
    double CameraView::*member;
    double low;
    double high;
};

const ViewNumber kViewNumbers[] = {
    {"camera-fill", "The module's extent over the picture's, straight on (0.3-0.95; 0.7).",
     &CameraView::fill, 0.3, 0.95},
    {"camera-yaw", "Degrees the module is turned about its vertical axis (-35-35).",
     &CameraView::yaw, -35, 35},
    {"camera-tilt", "Degrees it is turned about its horizontal axis (-35-35).", &CameraView::tilt,
     -35, 35},
    {"camera-roll", "Degrees it is turned in the picture, counter-clockwise (-15-15).",
     &CameraView::roll, -15, 15},
    {"camera-barrel", "Barrel distortion: a border line bows by this share of the width (0-0.02).",
     &CameraView::barrel, 0, 0.02},
    {"camera-blur", "Blur sigma in pixels (0-1.5; 0.8).", &CameraView::blur, 0, 1.5},
    {"camera-noise", "Sensor noise sigma in grey levels (0-6; 2).", &CameraView::noise, 0, 6},
    {"camera-spread", "Each LED's brightness is 1 +- up to this (0-0.3; 0.1).",
     &CameraView::ledSpread, 0, 0.3},
    {"camera-vignetting", "Corner brightness relative to the centre (0.6-1; 0.9).",
     &CameraView::vignetting, 0.6, 1},
    {"camera-ambient", "Room light (0 dark - 1 bright; 0.2).", &CameraView::ambient, 0, 1},
    {"camera-glow", "Halo around a lit LED relative to its peak (0-1; 0.25).", &CameraView::glow, 0,
     1},
};

QCommandLineOption option(const char* name, const char* help, const char* value = nullptr) {
    return value
               ? QCommandLineOption(QLatin1String(name), QLatin1String(help), QLatin1String(value))
               : QCommandLineOption(QLatin1String(name), QLatin1String(help));
}

double number(const QCommandLineParser& parser, const QString& name, double low, double high) {
    bool ok = false;
    const double value = parser.value(name).toDouble(&ok);
    if (!ok || value < low || value > high) {
        refuse(name, QStringLiteral("needs a number from %1 to %2, not \"%3\"")
                         .arg(low)
                         .arg(high)
                         .arg(parser.value(name)));
    }
    return value;
}

int whole(const QCommandLineParser& parser, const char* name, int low, int high) {
    const QString key = QLatin1String(name);
    const double value = number(parser, key, low, high);
    if (value != static_cast<int>(value)) {
        refuse(key, QStringLiteral("needs a whole number"));
    }
    return static_cast<int>(value);
}

// "WxH", e.g. "1280x720".
QSize size(const QCommandLineParser& parser, const char* name, QSize unset, int largest) {
    const QString key = QLatin1String(name);
    if (!parser.isSet(key)) {
        return unset;
    }
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("^(\\d+)x(\\d+)$")).match(parser.value(key));
    const QSize value =
        match.hasMatch() ? QSize(match.captured(1).toInt(), match.captured(2).toInt()) : QSize();
    if (value.width() < 1 || value.height() < 1 || value.width() > largest ||
        value.height() > largest) {
        refuse(key, QStringLiteral("needs WxH, each 1 to %1, not \"%2\"")
                        .arg(largest)
                        .arg(parser.value(key)));
    }
    return value;
}

// "X,Y" or "X,Y@MS": a point and when it begins.
std::pair<QPointF, milliseconds> timedPoint(const QCommandLineParser& parser, const char* name) {
    const QString key = QLatin1String(name);
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("^(-?[\\d.]+),(-?[\\d.]+)(?:@(\\d+))?$"))
            .match(parser.value(key));
    if (!match.hasMatch()) {
        refuse(key, QStringLiteral("needs X,Y or X,Y@MS, not \"%1\"").arg(parser.value(key)));
    }
    return {QPointF(match.captured(1).toDouble(), match.captured(2).toDouble()),
            milliseconds(match.captured(3).toLongLong())};
}

void readView(const QCommandLineParser& parser, CameraView& view) {
    for (const ViewNumber& field : kViewNumbers) {
        const QString key = QLatin1String(field.name);
        if (parser.isSet(key)) {
            view.*field.member = number(parser, key, field.low, field.high);
        }
    }
    view.frame = size(parser, "camera-size", view.frame, 4096);
    if (parser.isSet(QStringLiteral("camera-quality"))) {
        view.jpegQuality = whole(parser, "camera-quality", 50, 100);
    }
    if (parser.isSet(QStringLiteral("camera-rotation"))) {
        view.rotation = whole(parser, "camera-rotation", 0, 270);
        if (view.rotation % 90 != 0) {
            refuse(QStringLiteral("camera-rotation"), QStringLiteral("needs 0, 90, 180 or 270"));
        }
    }
    if (parser.isSet(QStringLiteral("camera-seed"))) {
        view.seed = static_cast<quint32>(whole(parser, "camera-seed", 0, 1 << 30));
    }
    view.mirrored = parser.isSet(QStringLiteral("camera-mirrored"));
    view.surroundings = !parser.isSet(QStringLiteral("camera-plain-wall"));
}

void readTiming(const QCommandLineParser& parser, CameraOptions& options) {
    if (parser.isSet(QStringLiteral("camera-fps"))) {
        options.fps = whole(parser, "camera-fps", 1, 120);
    }
    if (parser.isSet(QStringLiteral("camera-latency"))) {
        options.latency = milliseconds(whole(parser, "camera-latency", 0, 5000));
    }
    if (parser.isSet(QStringLiteral("camera-exposure"))) {
        options.exposure = milliseconds(whole(parser, "camera-exposure", 0, 1000));
    }
    options.moduleLeds = size(parser, "camera-module", options.moduleLeds, 255);
}

void readFaults(const QCommandLineParser& parser, CameraOptions& options) {
    if (parser.isSet(QStringLiteral("camera-drift"))) {
        options.exposureDrift = number(parser, QStringLiteral("camera-drift"), 0, 0.5);
    }
    if (parser.isSet(QStringLiteral("camera-banding"))) {
        options.bandingEvery = whole(parser, "camera-banding", 0, 1000000);
    }
    if (parser.isSet(QStringLiteral("camera-repeat"))) {
        options.repeatShare = number(parser, QStringLiteral("camera-repeat"), 0, 1);
    }
    if (parser.isSet(QStringLiteral("camera-reflection"))) {
        std::tie(options.reflectionAt, options.reflectionFrom) =
            timedPoint(parser, "camera-reflection");
    }
    if (parser.isSet(QStringLiteral("camera-nudge"))) {
        std::tie(options.nudge, options.nudgeFrom) = timedPoint(parser, "camera-nudge");
    }
    if (parser.isSet(QStringLiteral("camera-end"))) {
        options.endAfter = milliseconds(whole(parser, "camera-end", 0, 1 << 30));
    }
}

}  // namespace

namespace CameraCommandLine {

void addTo(QCommandLineParser& parser) {
    parser.addOptions({
        option("camera-port",
               "Film the module with a virtual camera and serve it as Motion-JPEG on "
               "http://127.0.0.1:<port>/ (0: a free port, printed as \"camera http://...\").",
               "port"),
        option("camera-size", "Picture size (default 1280x720).", "WxH"),
        option("camera-fps", "Pictures a second (default 30).", "n"),
        option("camera-latency", "Milliseconds from exposure to picture (default 100).", "ms"),
        option("camera-exposure", "Milliseconds a picture gathers light (default 33).", "ms"),
        option("camera-module", "The module's size before CellTest gives it (default 64x32).",
               "WxH"),
        option("camera-quality", "JPEG quality (50-100; default 85).", "q"),
        option(
            "camera-rotation",
            "The picture is the upright view turned this far counter-clockwise (0, 90, 180, 270).",
            "degrees"),
        option("camera-mirrored", "The upright view is mirrored left-right before the turn."),
        option("camera-plain-wall", "A plain dark wall around the module instead of a room."),
        option("camera-seed", "Seed of LED spread, room and noise (default 1).", "n"),
        option("camera-drift", "Auto-exposure: the gain wanders by up to this share.", "share"),
        option("camera-banding", "One picture in <n> shows a band of dim LED rows.", "n"),
        option("camera-repeat", "This share of pictures is sent twice (0-1).", "share"),
        option("camera-reflection",
               "A lamp's reflection at LED X,Y (may lie beside the module), from MS on.",
               "X,Y[@MS]"),
        option("camera-nudge", "The camera nudged by DX,DY LED pitches from MS on.", "DX,DY[@MS]"),
        option("camera-end", "The stream ends after <ms> milliseconds.", "ms"),
    });
    for (const ViewNumber& field : kViewNumbers) {
        parser.addOption(option(field.name, field.help, "x"));
    }
}

std::optional<quint16> port(const QCommandLineParser& parser) {
    if (!parser.isSet(QStringLiteral("camera-port"))) {
        return std::nullopt;
    }
    return static_cast<quint16>(whole(parser, "camera-port", 0, 65535));
}

CameraOptions read(const QCommandLineParser& parser) {
    CameraOptions options;
    readView(parser, options.view);
    readTiming(parser, options);
    readFaults(parser, options);
    return options;
}

}  // namespace CameraCommandLine
