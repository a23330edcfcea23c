// Any text as a batch plan: either a plan whose every line is complete (a port and a file,
// screen and IP both given or both empty, values 0..255), one line for each line of the text
// after the header that is neither blank nor a comment; or a fault named on a line of the text
// that is neither blank nor a comment, which parse() turns into an InputError naming the plan
// and that line ("/plans/plan.csv:4: ..."). Nothing else, and never a crash.
#include <QString>
#include <QStringList>
#include <QStringTokenizer>
#include <cstdint>

#include "FuzzCheck.h"
#include "cli/BatchPlan.h"
#include "cli/Csv.h"
#include "core/TextNumber.h"

namespace {

const QString kPlan = QStringLiteral("/plans/plan.csv");
const QString kFolder = QStringLiteral("/plans/");

bool isContent(QStringView row) {
    const QStringView t = row.trimmed();
    return !t.isEmpty() && !t.startsWith(QLatin1Char('#'));
}

// The lines of the text; a plan's lines end at every line feed.
QList<QStringView> linesOf(const QString& text) {
    QList<QStringView> lines;
    lines.reserve(32);
    for (const QStringView line : QStringTokenizer(text, QLatin1Char('\n'))) {
        lines.append(line);
    }
    return lines;
}

bool inByteRange(int value) {
    return value >= 0 && value <= 255;
}

void checkAddress(const BatchPlan::Line& line, const QStringList& fields) {
    const bool given = fields.size() == 4 && !fields[2].isEmpty();
    require(fields.size() != 4 || fields[2].isEmpty() == fields[3].isEmpty(),
            "screen and ip are both given or both empty");
    require(line.address.has_value() == given, "an address exactly when screen and ip are given");
    if (!line.address) {
        return;
    }
    require(line.address->screen == readTextNumber(fields[2]), "the screen number as typed");
    require(inByteRange(line.address->screen), "the screen number is 0..255");
    for (const int octet : line.address->ip) {
        require(inByteRange(octet), "every IP octet is 0..255");
    }
}

void checkLine(const BatchPlan::Line& line, const QList<QStringView>& lines) {
    require(line.lineNumber >= 1 && line.lineNumber <= lines.size(), "a line number of the text");
    QString problem;
    const QStringList fields = Csv::fields(lines[line.lineNumber - 1].trimmed(), problem).value();
    require(!line.port.isEmpty() && !line.file.isEmpty(), "port and file are given");
    require(fields.size() >= 2 && fields[0] == line.port && fields[1] == line.file,
            "port and file are the line's first fields");
    const bool beside = line.path.size() == kFolder.size() + line.file.size() &&
                        line.path.startsWith(kFolder) && line.path.endsWith(line.file);
    require(line.path == line.file || beside, "a relative file is found beside the plan");
    checkAddress(line, fields);
}

void checkPlan(const QList<BatchPlan::Line>& plan, const QList<QStringView>& lines) {
    int previous = 0;
    int contentRows = 0;
    for (const QStringView line : lines) {
        contentRows += isContent(line) ? 1 : 0;
    }
    require(!plan.isEmpty() && plan.size() == contentRows - 1,
            "every line after the header is in the plan");
    for (const BatchPlan::Line& line : plan) {
        require(line.lineNumber > previous, "lines in the order of the text");
        previous = line.lineNumber;
        checkLine(line, lines);
    }
}

void checkRefusal(const BatchPlan::Reading& reading, const QList<QStringView>& lines) {
    require(!reading.fault.isEmpty(), "a fault says what it is");
    require(reading.faultLine >= 1 && reading.faultLine <= lines.size(), "a fault names a line");
    require(isContent(lines[reading.faultLine - 1]) ||
                reading.fault.endsWith(QStringLiteral("names no port")),
            "a fault names a line that is neither blank nor a comment");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QList<QStringView> lines = linesOf(text);
    const BatchPlan::Reading reading = BatchPlan::read(text, kPlan);
    if (reading.faultLine == 0) {
        checkPlan(reading.lines, lines);
    } else {
        checkRefusal(reading, lines);
    }
    return 0;
}
