#include "BatchPlan.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "Csv.h"
#include "Errors.h"

namespace {

const QStringList kShortHeader = {QStringLiteral("port"), QStringLiteral("file")};
const QStringList kLongHeader = {QStringLiteral("port"), QStringLiteral("file"),
                                 QStringLiteral("screen"), QStringLiteral("ip")};

[[noreturn]] void fault(const QString& planPath, int lineNumber, const QString& what) {
    throw InputError(
        QStringLiteral("%1:%2: %3").arg(planPath).arg(lineNumber).arg(what).toStdString());
}

QStringList fieldsOf(const QString& line, const QString& planPath, int lineNumber) {
    try {
        return Csv::split(line);
    } catch (const InputError& e) {
        fault(planPath, lineNumber, QString::fromUtf8(e.what()));
    }
}

QStringList checkedHeader(const QStringList& fields, const QString& planPath, int lineNumber) {
    QStringList lower;
    for (const QString& f : fields) {
        lower.append(f.toLower());
    }
    if (lower != kShortHeader && lower != kLongHeader) {
        fault(planPath, lineNumber,
              QStringLiteral("the header must be \"port,file\" or \"port,file,screen,ip\", not "
                             "\"%1\"")
                  .arg(fields.join(QLatin1Char(','))));
    }
    return lower;
}

BatchPlan::Line planLine(const QStringList& f, const QString& planPath, int lineNumber) {
    BatchPlan::Line line{lineNumber, f[0], f[1], {}, std::nullopt};
    if (line.port.isEmpty() || line.file.isEmpty()) {
        fault(planPath, lineNumber, QStringLiteral("port and file must not be empty"));
    }
    line.path = QFileInfo(line.file).isAbsolute()
                    ? line.file
                    : QFileInfo(planPath).absoluteDir().filePath(line.file);
    if (f.size() < 4 || (f[2].isEmpty() && f[3].isEmpty())) {
        return line;
    }
    if (f[2].isEmpty() || f[3].isEmpty()) {
        fault(planPath, lineNumber, QStringLiteral("give both screen and ip, or neither"));
    }
    try {
        line.address = AddressValues::parse(f[2], f[3]);
    } catch (const InputError& e) {
        fault(planPath, lineNumber, QString::fromUtf8(e.what()));
    }
    return line;
}

}  // namespace

QList<BatchPlan::Line> BatchPlan::parse(const QString& text, const QString& planPath) {
    QList<Line> lines;
    QStringList header;
    const QStringList rows = text.split(QLatin1Char('\n'));
    for (int i = 0; i < rows.size(); ++i) {
        const QString row = rows[i].trimmed();
        if (row.isEmpty() || row.startsWith(QLatin1Char('#'))) {
            continue;
        }
        const QStringList fields = fieldsOf(row, planPath, i + 1);
        if (header.isEmpty()) {
            header = checkedHeader(fields, planPath, i + 1);
            continue;
        }
        if (fields.size() != header.size()) {
            fault(planPath, i + 1,
                  QStringLiteral("expected %1 fields (%2), found %3")
                      .arg(header.size())
                      .arg(header.join(QLatin1Char(',')))
                      .arg(fields.size()));
        }
        lines.append(planLine(fields, planPath, i + 1));
    }
    if (lines.isEmpty()) {
        fault(planPath, static_cast<int>(rows.size()), QStringLiteral("the plan names no port"));
    }
    return lines;
}

QList<BatchPlan::Line> BatchPlan::load(const QString& planPath) {
    QFile file(planPath);
    if (!file.open(QIODevice::ReadOnly)) {
        throw InputError(QStringLiteral("cannot read the plan %1: %2")
                             .arg(planPath, file.errorString())
                             .toStdString());
    }
    QString text = QString::fromUtf8(file.readAll());
    // Spreadsheet programs often begin a UTF-8 CSV file with a byte order mark.
    if (text.startsWith(QChar(0xFEFF))) {
        text.remove(0, 1);
    }
    return parse(text, planPath);
}
