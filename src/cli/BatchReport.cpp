#include "cli/BatchReport.h"

#include "cli/Csv.h"
#include "cli/JobOutcomeText.h"

QString BatchReport::header() {
    return QStringLiteral("line,port,file,crc32,result,step,packet,seconds,message");
}

QString BatchReport::row(const Row& r) {
    const bool ok = r.result.outcome.kind == ExchangeOutcome::Kind::Done;
    const double seconds = static_cast<double>(r.result.elapsed.count()) / 1000.0;
    return Csv::join({
        QString::number(r.line),
        r.port,
        r.file,
        r.crc32,
        JobOutcomeText::resultWord(r.result),
        ok ? QString() : JobOutcomeText::stepWord(r.result.step),
        ok ? QString() : QString::number(r.result.outcome.packet),
        QString::number(seconds, 'f', 2),
        ok ? QString() : JobOutcomeText::failure(r.result, r.portDescription),
    });
}

QString BatchReport::csv(const QList<Row>& rows) {
    QString text = header() + QLatin1Char('\n');
    for (const Row& r : rows) {
        text += row(r) + QLatin1Char('\n');
    }
    return text;
}
