#include "cli/LocateCommand.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <algorithm>
#include <optional>
#include <variant>

#include "cli/LocateOverlay.h"
#include "cli/LocateReport.h"
#include "cli/SubcommandParser.h"
#include "vision/Calibrator.h"
#include "vision/LedReader.h"

namespace {

struct LocateArguments {
    int width = 0;
    int height = 0;
    ModuleOrientation orientation;
    QString dark;
    QString lit;
    QStringList steps;
    bool json = false;
    QString overlay;  // empty: no overlays
};

QList<QCommandLineOption> options() {
    const auto valued = [](const char* name, const char* value) {
        return QCommandLineOption(QLatin1String(name), QString(), QLatin1String(value));
    };
    return {valued("module", "WxH"),
            valued("dark", "FILE"),
            valued("lit", "FILE"),
            valued("rotate", "DEGREES"),
            valued("overlay", "DIR"),
            QCommandLineOption(QStringLiteral("mirror")),
            QCommandLineOption(QStringLiteral("json"))};
}

// "64x32" as width and height; nothing for anything else.
std::optional<std::pair<int, int>> moduleSize(const QString& text) {
    static const QRegularExpression form(
        QStringLiteral("^\\s*(\\d{1,4})\\s*[xX]\\s*(\\d{1,4})\\s*$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch() || m.captured(1).toInt() < 1 || m.captured(2).toInt() < 1) {
        return std::nullopt;
    }
    return std::make_pair(m.captured(1).toInt(), m.captured(2).toInt());
}

// The arguments, or the exit code when they are not usable (after saying why).
std::variant<LocateArguments, int> parseArguments(const QStringList& args, CliIo& io) {
    SubcommandParser parser(LocateCommand::help(), options());
    if (const auto code = parser.parseAtLeast(args, io, 1)) {
        return *code;
    }
    for (const char* required : {"module", "dark", "lit"}) {
        if (const auto code = parser.require(QLatin1String(required), io)) {
            return *code;
        }
    }
    const auto size = moduleSize(parser.value(QStringLiteral("module")));
    if (!size) {
        return io.fail(ExitCode::BadInput,
                       QStringLiteral("--module takes the LEDs across and down, as 64x32"));
    }
    bool number = false;
    const int turn = parser.isSet(QStringLiteral("rotate"))
                         ? parser.value(QStringLiteral("rotate")).toInt(&number)
                         : (number = true, 0);
    const auto orientation =
        ModuleOrientation::fromDegrees(turn, parser.isSet(QStringLiteral("mirror")));
    if (!number || !orientation) {
        return io.fail(ExitCode::BadInput, QStringLiteral("--rotate takes 0, 90, 180 or 270"));
    }
    return LocateArguments{size->first,
                           size->second,
                           *orientation,
                           parser.value(QStringLiteral("dark")),
                           parser.value(QStringLiteral("lit")),
                           parser.positional(),
                           parser.isSet(QStringLiteral("json")),
                           parser.value(QStringLiteral("overlay"))};
}

// A picture file as 8-bit grey; a null image when it cannot be read.
QImage greyPicture(const QString& file) {
    const QImage image(file);
    return image.isNull() ? image : image.convertToFormat(QImage::Format_Grayscale8);
}

GreyPicture view(const QImage& image) {
    return {image.width(), image.height(), static_cast<int>(image.bytesPerLine()),
            image.constBits()};
}

void describeCalibration(const LedGrid& grid, CliIo& io) {
    const PicturePoint first = grid.led(0, 0).centre;
    io.err << QStringLiteral(
                  "calibrated %1 x %2 LEDs, %3 px apart; row 1 / column 1 at "
                  "(%4, %5) in the picture\n")
                  .arg(grid.width())
                  .arg(grid.height())
                  .arg(grid.typicalPitch(), 0, 'f', 1)
                  .arg(first.x, 0, 'f', 1)
                  .arg(first.y, 0, 'f', 1);
    if (!grid.motionCheck().canCheck()) {
        io.err << QStringLiteral(
            "note: too little is seen around the module to tell whether "
            "the camera moves; keep it still\n");
    }
    io.err.flush();
}

// One step picture read, printed (or added to `steps`) and drawn; returns its exit code.
int readStep(const QString& file, const LocateArguments& a, const LedGrid& grid, QJsonArray& steps,
             CliIo& io) {
    const QImage picture = greyPicture(file);
    if (picture.isNull()) {
        return io.fail(ExitCode::BadInput, QStringLiteral("cannot read the picture %1").arg(file));
    }
    const LedReading reading = LedReader::read(grid, view(picture));
    if (a.json) {
        steps.append(LocateReport::json(file, reading));
    } else {
        io.out << LocateReport::line(file, reading);
        io.out.flush();
    }
    if (!a.overlay.isEmpty()) {
        const QString target =
            QDir(a.overlay).filePath(QFileInfo(file).completeBaseName() + QStringLiteral(".png"));
        if (!LocateOverlay::draw(picture, grid, reading).save(target, "PNG")) {
            return io.fail(ExitCode::BadInput, QStringLiteral("cannot write %1").arg(target));
        }
    }
    return toInt(reading.isCertain() ? ExitCode::Success : ExitCode::Doubt);
}

std::optional<LedGrid> calibrated(const LocateArguments& a, CliIo& io, int& code) {
    const QImage dark = greyPicture(a.dark);
    const QImage lit = greyPicture(a.lit);
    for (const auto& [image, file] : {std::pair{&dark, a.dark}, std::pair{&lit, a.lit}}) {
        if (image->isNull()) {
            code =
                io.fail(ExitCode::BadInput, QStringLiteral("cannot read the picture %1").arg(file));
            return std::nullopt;
        }
    }
    Calibration c = Calibrator::calibrate(view(dark), view(lit), a.width, a.height, a.orientation);
    if (!c.grid) {
        code = io.fail(ExitCode::BadInput, QStringLiteral("cannot calibrate: ") +
                                               LocateReport::refusal(c, a.width, a.height));
    }
    return std::move(c.grid);
}

}  // namespace

QString LocateCommand::help() {
    return QStringLiteral(
        "Usage: lumotrix-cli locate --module WxH --dark DARK.jpg --lit LIT.jpg STEP.jpg...\n"
        "\n"
        "Finds the LEDs of a module in a camera's pictures and tells which one each step\n"
        "picture shows lit. DARK is a picture of the module with every LED dark, LIT one with\n"
        "every LED lit, both taken from where the step pictures are taken. For each step\n"
        "picture it prints the lit LED's row and column, counted from 1 as the grids count\n"
        "them (row 1 at the top, column 1 at the left of the module's front), with its score\n"
        "(1: as bright as in LIT, 0: as dark as in DARK), or why it is in doubt: no LED lit,\n"
        "more than one, one neither clearly lit nor clearly dark, light beside the LEDs, a\n"
        "camera that has moved, an overexposed picture. It never guesses.\n"
        "\n"
        "Options:\n"
        "  --module WxH      the module's LEDs across and down, as 64x32\n"
        "  --dark FILE       the picture with every LED dark\n"
        "  --lit FILE        the picture with every LED lit\n"
        "  --rotate DEGREES  0, 90, 180 or 270: turning the pictures clockwise by this much\n"
        "                    shows the module upright (default 0)\n"
        "  --mirror          after that turn, the pictures show the module mirrored\n"
        "                    left-right (a camera behind the module, or a mirror)\n"
        "  --json            print one JSON object: module {width, height}, pitch,\n"
        "                    motionCheck, steps [{file, certain, row, column, score} or\n"
        "                    {file, certain, doubt, reason, candidates [{row, column, score}]}]\n"
        "  --overlay DIR     write DIR/STEP.png for each step picture: every LED ringed, row 1\n"
        "                    in yellow, column 1 in magenta, row 1 / column 1 a yellow square,\n"
        "                    the lit LED ringed green; in doubt, the candidates ringed orange\n"
        "                    and a red frame\n"
        "  -h, --help        print this help\n"
        "\n"
        "Pictures may be JPEG, PNG or any format Qt reads; colour is taken as grey.\n"
        "\n"
        "Exit codes: 0 every step picture shows one LED; 5 at least one is in doubt;\n"
        "4 bad arguments, a picture that cannot be read, or no calibration (the message\n"
        "says why: too few or too many LEDs found, the module partly outside the picture,\n"
        "overexposed, too small, turned a quarter, nothing lit).\n"
        "\n"
        "Example:\n"
        "  lumotrix-cli locate --module 64x32 --dark dark.jpg --lit lit.jpg step-*.jpg\n");
}

int LocateCommand::run(const QStringList& args, CliIo& io) {
    const auto parsed = parseArguments(args, io);
    if (const int* code = std::get_if<int>(&parsed)) {
        return *code;
    }
    const LocateArguments& a = std::get<LocateArguments>(parsed);
    if (!a.overlay.isEmpty() && !QDir().mkpath(a.overlay)) {
        return io.fail(ExitCode::BadInput,
                       QStringLiteral("cannot make the folder %1").arg(a.overlay));
    }
    int code = 0;
    const std::optional<LedGrid> grid = calibrated(a, io, code);
    if (!grid) {
        return code;
    }
    describeCalibration(*grid, io);
    QJsonArray steps;
    for (const QString& file : a.steps) {
        code = std::max(code, readStep(file, a, *grid, steps, io));
    }
    if (a.json) {
        const QJsonObject report{
            {QStringLiteral("module"),
             QJsonObject{{QStringLiteral("width"), a.width}, {QStringLiteral("height"), a.height}}},
            {QStringLiteral("pitch"), grid->typicalPitch()},
            {QStringLiteral("motionCheck"), grid->motionCheck().canCheck()},
            {QStringLiteral("steps"), steps}};
        io.out << QJsonDocument(report).toJson(QJsonDocument::Compact) << '\n';
        io.out.flush();
    }
    return code;
}
