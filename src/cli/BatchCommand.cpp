#include "cli/BatchCommand.h"

#include <QSaveFile>
#include <QSet>
#include <algorithm>

#include "cli/BatchPlan.h"
#include "cli/BatchReport.h"
#include "cli/JobOutcomeText.h"
#include "cli/MapReportFormat.h"
#include "cli/SubcommandParser.h"
#include "cli/WorkerPool.h"
#include "core/Errors.h"
#include "mapfile/MapFile.h"

namespace {

const QString kReport = QStringLiteral("report");

struct Prepared {
    QList<WorkerPool::Assignment> assignments;
    QList<BatchReport::Row> rows;
};

// Every port and map file of the plan, checked; InputError names the plan line at fault.
Prepared prepare(const QList<BatchPlan::Line>& lines, const QString& planPath, CliIo& io) {
    Prepared p;
    for (const BatchPlan::Line& line : lines) {
        PortJob job;
        job.id = line.lineNumber;
        job.setAddress = line.address;
        PortTarget target;
        try {
            target = PortTarget::parse(line.port, io.portNames);
            job.image = MapFile::load(line.path).toBytes();
        } catch (const InputError& e) {
            throw InputError(QStringLiteral("%1:%2: %3")
                                 .arg(planPath)
                                 .arg(line.lineNumber)
                                 .arg(QString::fromUtf8(e.what()))
                                 .toStdString());
        } catch (const FileError& e) {
            throw InputError(QStringLiteral("%1:%2: %3")
                                 .arg(planPath)
                                 .arg(line.lineNumber)
                                 .arg(QString::fromUtf8(e.what()))
                                 .toStdString());
        }
        p.rows.append({line.lineNumber,
                       line.port,
                       target.describe(),
                       line.file,
                       MapReportFormat::crc32(job.image),
                       {}});
        p.assignments.append({target, job});
    }
    return p;
}

int portCount(const QList<WorkerPool::Assignment>& assignments) {
    QSet<QString> keys;
    for (const WorkerPool::Assignment& a : assignments) {
        keys.insert(a.target.key());
    }
    return static_cast<int>(keys.size());
}

void tellFinished(const PortJobResult& r, const BatchReport::Row& row, CliIo& io) {
    io.err << "line " << r.id << ", " << row.portDescription << ": ";
    if (r.outcome.kind == ExchangeOutcome::Kind::Done) {
        io.err << "ok in "
               << QString::number(static_cast<double>(r.elapsed.count()) / 1000.0, 'f', 2)
               << " s\n";
    } else {
        io.err << JobOutcomeText::failure(r, row.portDescription) << '\n';
    }
    io.err.flush();
}

// Runs every line and returns the highest exit code among them; fills in the rows' results.
int runLines(Prepared& prepared, CliIo& io) {
    io.err << "batch: " << prepared.rows.size() << " line(s) on " << portCount(prepared.assignments)
           << " port(s)\n";
    io.err.flush();
    QHash<int, qsizetype> rowOfLine;
    for (qsizetype i = 0; i < prepared.rows.size(); ++i) {
        rowOfLine.insert(prepared.rows[i].line, i);
    }
    int worst = toInt(ExitCode::Success);
    WorkerPool::run(prepared.assignments, {}, [&](const PortJobResult& r) {
        BatchReport::Row& row = prepared.rows[rowOfLine.value(r.id)];
        row.result = r;
        tellFinished(r, row, io);
        worst = std::max(worst, toInt(JobOutcomeText::exitCode(r)));
    });
    return worst;
}

}  // namespace

QString BatchCommand::help() {
    return QStringLiteral(
        "Usage: lumotrix-cli batch PLAN.csv [--report REPORT.csv]\n"
        "\n"
        "Downloads map files to many controllers, and optionally sets each one's screen\n"
        "number and IP address after its download. Lines on different ports run at the same\n"
        "time; lines on the same port run one after the other, in the plan's order. The\n"
        "plan, its ports and its map files are all checked before anything is sent.\n"
        "\n"
        "The plan is a CSV file (UTF-8):\n"
        "  # lines starting with # are comments; blank lines are skipped\n"
        "  port,file,screen,ip\n"
        "  COM1,maps/p10.bin,1,192.168.0.101\n"
        "  COM2,maps/p10.bin,,\n"
        "  /dev/ttyUSB3,\"maps/hall, left.bin\",3,192.168.0.103\n"
        "The first line that is not a comment is the header, \"port,file\" or\n"
        "\"port,file,screen,ip\". Each line then has as many fields as the header. port is\n"
        "COM1..COM12 or a device path (as for download); file is a map file, found from the\n"
        "plan's folder when relative; screen and ip are both given (then set after the\n"
        "download) or both left empty. A field holding a comma or a double quote is written\n"
        "in double quotes, a double quote inside it doubled. A faulty line stops the batch\n"
        "before anything is sent, with its line number.\n"
        "\n"
        "The report is a CSV file with one row per plan line, in the plan's order:\n"
        "  line,port,file,crc32,result,step,packet,seconds,message\n"
        "  line     the plan line            port, file  as the plan wrote them\n"
        "  crc32    CRC-32 of the map's bytes, 8 hex digits (as show prints it)\n"
        "  result   ok, not-acknowledged or port-failed\n"
        "  step     on failure: download or set-address\n"
        "  packet   on failure: the packet reached (1..16 data packet, 17 closing packet,\n"
        "           1 the SetAddress packet, 0 nothing sent)\n"
        "  seconds  the time the line took on its port\n"
        "  message  on failure: what went wrong\n"
        "\n"
        "Options:\n"
        "  --report REPORT.csv  write the report there (replaced whole); without it the\n"
        "                       report goes to standard output\n"
        "  -h, --help           print this help\n"
        "\n"
        "Exit codes: the worst outcome of all lines: 0 all ok; 2 a controller did not\n"
        "acknowledge; 3 a port could not be opened or failed; 4 a faulty plan, port name or\n"
        "map file, or a report that cannot be written (nothing was sent).\n"
        "\n"
        "Example:\n"
        "  lumotrix-cli batch site-a.csv --report site-a-report.csv\n");
}

int BatchCommand::run(const QStringList& args, CliIo& io) {
    SubcommandParser parser(help(),
                            {QCommandLineOption(kReport, QString(), QStringLiteral("REPORT"))});
    if (const auto code = parser.parse(args, io, 1)) {
        return *code;
    }
    const QString planPath = parser.positional().constFirst();
    Prepared prepared;
    try {
        prepared = prepare(BatchPlan::load(planPath), planPath, io);
    } catch (const InputError& e) {
        return io.fail(ExitCode::BadInput, QString::fromUtf8(e.what()));
    }
    QSaveFile report(parser.value(kReport));
    if (parser.isSet(kReport) && !report.open(QIODevice::WriteOnly)) {
        return io.fail(ExitCode::BadInput, QStringLiteral("cannot write the report %1: %2")
                                               .arg(report.fileName(), report.errorString()));
    }
    const int worst = runLines(prepared, io);
    const QByteArray csv = BatchReport::csv(prepared.rows).toUtf8();
    if (!parser.isSet(kReport)) {
        io.out << csv;
        io.out.flush();
    } else if (report.write(csv) != csv.size() || !report.commit()) {
        io.fail(ExitCode::BadInput, QStringLiteral("cannot write the report %1: %2")
                                        .arg(report.fileName(), report.errorString()));
        return std::max(worst, toInt(ExitCode::BadInput));
    }
    return worst;
}
