#include "cli/JobOutcomeText.h"

namespace {

using Kind = ExchangeOutcome::Kind;
using Step = PortJobResult::Step;

QString packetName(const PortJobResult& r) {
    if (r.step != Step::Download) {
        return r.step == Step::SetAddress ? QStringLiteral("the SetAddress packet")
                                          : QStringLiteral("the ReadAddress packet");
    }
    return r.outcome.packet == 17 ? QStringLiteral("the closing packet")
                                  : QStringLiteral("data packet %1 of 16").arg(r.outcome.packet);
}

QString notAccepted(const PortJobResult& r, const QString& port) {
    const QString controller = QStringLiteral("the controller on ") + port;
    switch (r.step) {
        case Step::Download:
            return controller + QStringLiteral(" did not acknowledge ") + packetName(r) +
                   QStringLiteral(
                       " (no answer in time, or an answer other than 06); the "
                       "download stopped there and the closing packet was not sent");
        case Step::SetAddress:
            return controller + QStringLiteral(
                                    " did not acknowledge the screen number and IP "
                                    "address (no answer in time, or not 06)");
        default:
            return controller + QStringLiteral(
                                    " did not report its address (no answer in "
                                    "time, or not a 26-byte answer starting 5A)");
    }
}

}  // namespace

ExitCode JobOutcomeText::exitCode(const PortJobResult& result) {
    switch (result.outcome.kind) {
        case Kind::Done:
            return ExitCode::Success;
        case Kind::NotAccepted:
            return ExitCode::NotAcknowledged;
        case Kind::PortFailed:
            break;
    }
    return ExitCode::PortFailed;
}

QString JobOutcomeText::resultWord(const PortJobResult& result) {
    switch (result.outcome.kind) {
        case Kind::Done:
            return QStringLiteral("ok");
        case Kind::NotAccepted:
            return QStringLiteral("not-acknowledged");
        case Kind::PortFailed:
            break;
    }
    return QStringLiteral("port-failed");
}

QString JobOutcomeText::stepWord(Step step) {
    switch (step) {
        case Step::Download:
            return QStringLiteral("download");
        case Step::SetAddress:
            return QStringLiteral("set-address");
        case Step::ReadAddress:
            return QStringLiteral("read-address");
        case Step::None:
            break;
    }
    return {};
}

QString JobOutcomeText::failure(const PortJobResult& result, const QString& port) {
    if (result.outcome.kind == Kind::NotAccepted) {
        return notAccepted(result, port);
    }
    // An address exchange reports packet 1 whether or not its packet went out, so only a
    // download's packet number says how far the exchange came.
    if (result.step != Step::Download || result.outcome.packet == 0) {
        return QStringLiteral("the port ") + port + QStringLiteral(" failed: ") +
               result.outcome.detail;
    }
    return QStringLiteral("the port ") + port + QStringLiteral(" failed at ") + packetName(result) +
           QStringLiteral(": ") + result.outcome.detail;
}
