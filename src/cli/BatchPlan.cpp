#include "cli/BatchPlan.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringTokenizer>

#include "cli/AddressArguments.h"
#include "cli/Csv.h"
#include "core/Errors.h"

namespace {

const QStringList kShortHeader = {QStringLiteral("port"), QStringLiteral("file")};
const QStringList kLongHeader = {QStringLiteral("port"), QStringLiteral("file"),
                                 QStringLiteral("screen"), QStringLiteral("ip")};

// The folder a plan lies in, ending in a slash.
QString folderOf(const QString& planPath) {
    const QString path = QDir::fromNativeSeparators(planPath);
    const QString absolute = QDir::isAbsolutePath(path) ? path : QFileInfo(path).absoluteFilePath();
    return absolute.left(absolute.lastIndexOf(QLatin1Char('/')) + 1);
}

// Reads the plan line by line; the first fault stops it, noted in m_reading.
class PlanReader {
public:
    explicit PlanReader(const QString& planPath) : m_folder(folderOf(planPath)) {}

    BatchPlan::Reading read(const QString& text);

private:
    bool fail(int lineNumber, const QString& fault) {
        m_reading.faultLine = lineNumber;
        m_reading.fault = fault;
        return false;
    }
    bool readHeader(const QStringList& fields, int lineNumber);
    bool readLine(const QStringList& fields, int lineNumber);

    QString m_folder;  // the plan's folder, ending in a slash
    QStringList m_header;
    BatchPlan::Reading m_reading;
};

// Whether fields name the header's columns, in any letter case.
bool isHeader(const QStringList& fields, const QStringList& header) {
    if (fields.size() != header.size()) {
        return false;
    }
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (fields[i].compare(header[i], Qt::CaseInsensitive) != 0) {
            return false;
        }
    }
    return true;
}

bool PlanReader::readHeader(const QStringList& fields, int lineNumber) {
    if (!isHeader(fields, kShortHeader) && !isHeader(fields, kLongHeader)) {
        return fail(lineNumber,
                    QStringLiteral("the header must be \"port,file\" or \"port,file,screen,ip\", "
                                   "not \"%1\"")
                        .arg(fields.join(QLatin1Char(','))));
    }
    m_header = fields.size() == kShortHeader.size() ? kShortHeader : kLongHeader;
    return true;
}

bool PlanReader::readLine(const QStringList& f, int lineNumber) {
    if (f.size() != m_header.size()) {
        return fail(lineNumber, QStringLiteral("expected %1 fields (%2), found %3")
                                    .arg(m_header.size())
                                    .arg(m_header.join(QLatin1Char(',')))
                                    .arg(f.size()));
    }
    BatchPlan::Line line{lineNumber, f[0], f[1], {}, std::nullopt};
    if (line.port.isEmpty() || line.file.isEmpty()) {
        return fail(lineNumber, QStringLiteral("port and file must not be empty"));
    }
    line.path = QDir::isAbsolutePath(line.file) ? line.file : m_folder + line.file;
    if (f.size() == 4 && (!f[2].isEmpty() || !f[3].isEmpty())) {
        if (f[2].isEmpty() || f[3].isEmpty()) {
            return fail(lineNumber, QStringLiteral("give both screen and ip, or neither"));
        }
        QString problem;
        line.address = AddressArguments::read(f[2], f[3], problem);
        if (!line.address) {
            return fail(lineNumber, problem);
        }
    }
    m_reading.lines.append(line);
    return true;
}

BatchPlan::Reading PlanReader::read(const QString& text) {
    const QStringList rows = text.split(QLatin1Char('\n'));
    for (int i = 0; i < rows.size(); ++i) {
        const QString row = rows[i].trimmed();
        if (row.isEmpty() || row.startsWith(QLatin1Char('#'))) {
            continue;
        }
        QString problem;
        const std::optional<QStringList> fields = Csv::fields(row, problem);
        const bool read = !fields              ? fail(i + 1, problem)
                          : m_header.isEmpty() ? readHeader(*fields, i + 1)
                                               : readLine(*fields, i + 1);
        if (!read) {
            return m_reading;
        }
    }
    if (m_reading.lines.isEmpty()) {
        fail(static_cast<int>(rows.size()), QStringLiteral("the plan names no port"));
    }
    return m_reading;
}

}  // namespace

BatchPlan::Reading BatchPlan::read(const QString& text, const QString& planPath) {
    return PlanReader(planPath).read(text);
}

QList<BatchPlan::Line> BatchPlan::parse(const QString& text, const QString& planPath) {
    const Reading reading = read(text, planPath);
    if (reading.faultLine > 0) {
        throw InputError(QStringLiteral("%1:%2: %3")
                             .arg(planPath)
                             .arg(reading.faultLine)
                             .arg(reading.fault)
                             .toStdString());
    }
    return reading.lines;
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
