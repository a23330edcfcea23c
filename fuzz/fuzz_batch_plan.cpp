// Any text as a batch plan: either a plan whose every line is complete (a port and a file,
// screen and IP both given or both empty, values 0..255), one line for each line of the text
// after the header that is neither blank nor a comment; or an InputError naming the plan and a
// line of it ("/plans/plan.csv:4: ..."). Nothing else, and never a crash.
#include <QString>
#include <QStringList>
#include <cstdint>

#include "BatchPlan.h"
#include "Csv.h"
#include "Errors.h"
#include "FuzzCheck.h"
#include "TextNumber.h"

namespace {

const QString kPlan = QStringLiteral("/plans/plan.csv");

bool isContent(QStringView row) {
    const QStringView t = row.trimmed();
    return !t.isEmpty() && !t.startsWith(QLatin1Char('#'));
}

// Line n (from 1) of the text; the plan's lines end at every line feed.
QStringView lineOf(const QString& text, int n) {
    qsizetype from = 0;
    for (int i = 1; i < n; ++i) {
        from = text.indexOf(QLatin1Char('\n'), from) + 1;
    }
    const qsizetype end = text.indexOf(QLatin1Char('\n'), from);
    return QStringView(text).mid(from, end < 0 ? -1 : end - from);
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

void checkLine(const BatchPlan::Line& line, const QString& text, int lines) {
    require(line.lineNumber >= 1 && line.lineNumber <= lines, "a line number of the text");
    const QStringList fields = Csv::split(lineOf(text, line.lineNumber).trimmed().toString());
    require(!line.port.isEmpty() && !line.file.isEmpty(), "port and file are given");
    require(fields.size() >= 2 && fields[0] == line.port && fields[1] == line.file,
            "port and file are the line's first fields");
    require(line.path == line.file || line.path == QStringLiteral("/plans/") + line.file,
            "a relative file is found beside the plan");
    checkAddress(line, fields);
}

void checkPlan(const QList<BatchPlan::Line>& lines, const QString& text, int lineCount) {
    int previous = 0;
    int contentRows = 0;
    for (qsizetype from = 0; from <= text.size();) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), from);
        end = end < 0 ? text.size() : end;
        contentRows += isContent(QStringView(text).mid(from, end - from)) ? 1 : 0;
        from = end + 1;
    }
    require(!lines.isEmpty() && lines.size() == contentRows - 1,
            "every line after the header is in the plan");
    for (const BatchPlan::Line& line : lines) {
        require(line.lineNumber > previous, "lines in the order of the text");
        previous = line.lineNumber;
        checkLine(line, text, lineCount);
    }
}

void checkRefusal(const InputError& e, const QString& text, int lines) {
    const QString message = QString::fromUtf8(e.what());
    require(message.startsWith(kPlan + QLatin1Char(':')), "a refusal names the plan");
    const QString rest = message.mid(kPlan.size() + 1);
    const qsizetype colon = rest.indexOf(QStringLiteral(": "));
    bool isNumber = false;
    const int lineNumber = rest.left(colon).toInt(&isNumber);
    require(colon > 0 && isNumber && lineNumber >= 1 && lineNumber <= lines,
            "a refusal names a line of the plan");
    require(isContent(lineOf(text, lineNumber)) || rest.endsWith(QStringLiteral("names no port")),
            "a refusal names a line that is neither blank nor a comment");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const int lines = static_cast<int>(text.count(QLatin1Char('\n'))) + 1;
    try {
        checkPlan(BatchPlan::parse(text, kPlan), text, lines);
    } catch (const InputError& e) {
        checkRefusal(e, text, lines);
    }
    return 0;
}
