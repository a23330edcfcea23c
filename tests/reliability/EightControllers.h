#pragma once

#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <memory>
#include <vector>

#include "Cli.h"
#include "Csv.h"
#include "SimulatorThread.h"

// Eight simulated controllers, each on a link of its own (ctl1 .. ctl8 in a temporary folder,
// so that a hang-up keeps the path), and lumotrix-cli's batch command run in this process over
// all of them: line i of the plan downloads file i to controller i.
struct EightControllers {
    struct Result {
        int code = -1;
        QStringList results;  // the report's result column, line by line
        QStringList packets;  // the report's packet column
    };

    QTemporaryDir dir;
    std::vector<std::unique_ptr<SimulatorThread>> sims;

    EightControllers() : sims(8) {
        for (std::size_t i = 0; i < sims.size(); ++i) {
            restart(i, {});
        }
    }

    // Controller i (from 0) switched off and on again with these faults: what it has recorded
    // is gone, and an answer it still held back is never sent.
    void restart(std::size_t i, const SimulatorFaults& faults) {
        sims[i].reset();
        sims[i] = std::make_unique<SimulatorThread>(
            faults, dir.filePath(QStringLiteral("ctl%1").arg(i + 1)));
    }

    QString write(const QString& name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            qFatal("cannot write %s", qPrintable(file.fileName()));
        }
        return file.fileName();
    }

    Result batch(const QStringList& files) {
        QString plan = QStringLiteral("port,file\n");
        for (std::size_t i = 0; i < sims.size(); ++i) {
            plan += Csv::join({sims[i]->devicePath(), files.value(static_cast<int>(i))}) +
                    QLatin1Char('\n');
        }
        const QString report = dir.filePath(QStringLiteral("report.csv"));
        QFile::remove(report);  // so that a batch that writes no report is not read as one
        QString out;
        QString err;
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        const PortNames names([] { return QStringList(); },
                              [](const QString&) { return QString(); });
        CliIo io{outStream, errStream, false, names};
        Result r;
        r.code =
            Cli(io).run({QStringLiteral("batch"), write(QStringLiteral("plan.csv"), plan.toUtf8()),
                         QStringLiteral("--report"), report});
        QFile csv(report);
        csv.open(QIODevice::ReadOnly);
        const QStringList rows =
            QString::fromUtf8(csv.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (const QString& row : rows.mid(1)) {
            const QStringList fields = Csv::split(row);
            r.results.append(fields.value(4));
            r.packets.append(fields.value(6));
        }
        return r;
    }
};
