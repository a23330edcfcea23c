#include "cli/Csv.h"

#include "core/Errors.h"

namespace {

// Reads the quoted field whose opening quote is at pos; leaves pos at the comma after it or at
// the end of the line. Sets problem when the field is broken.
QString quotedField(QStringView line, qsizetype& pos, QString& problem) {
    QString field;
    ++pos;
    while (true) {
        if (pos >= line.size()) {
            problem = QStringLiteral("a quoted field is not closed");
            return {};
        }
        const QChar c = line[pos++];
        if (c != QLatin1Char('"')) {
            field += c;
        } else if (pos < line.size() && line[pos] == QLatin1Char('"')) {
            field += c;
            ++pos;
        } else {
            break;
        }
    }
    while (pos < line.size() && line[pos].isSpace()) {
        ++pos;
    }
    if (pos < line.size() && line[pos] != QLatin1Char(',')) {
        problem = QStringLiteral("text follows a closing quote");
    }
    return field;
}

QString plainField(QStringView line, qsizetype& pos, QString& problem) {
    qsizetype end = line.indexOf(QLatin1Char(','), pos);
    if (end < 0) {
        end = line.size();
    }
    const QString field = line.mid(pos, end - pos).trimmed().toString();
    if (field.contains(QLatin1Char('"'))) {
        problem = QStringLiteral("a double quote inside a field that does not start with one");
    }
    pos = end;
    return field;
}

}  // namespace

std::optional<QStringList> Csv::fields(QStringView line, QString& problem) {
    QStringList fields;
    fields.reserve(4);
    qsizetype pos = 0;
    while (true) {
        while (pos < line.size() && line[pos].isSpace()) {
            ++pos;
        }
        const bool quoted = pos < line.size() && line[pos] == QLatin1Char('"');
        fields.append(quoted ? quotedField(line, pos, problem) : plainField(line, pos, problem));
        if (!problem.isEmpty()) {
            return std::nullopt;
        }
        if (pos >= line.size()) {
            return fields;
        }
        ++pos;  // the comma
    }
}

QStringList Csv::split(const QString& line) {
    QString problem;
    const std::optional<QStringList> read = fields(line, problem);
    if (!read) {
        throw InputError(problem.toStdString());
    }
    return *read;
}

QString Csv::join(const QStringList& fields) {
    QStringList out;
    for (QString field : fields) {
        // One record per line: a line break inside a field would start a new record.
        field.replace(QLatin1Char('\n'), QLatin1Char(' '))
            .replace(QLatin1Char('\r'), QLatin1Char(' '));
        const bool needsQuotes = field.contains(QLatin1Char(',')) ||
                                 field.contains(QLatin1Char('"')) || field != field.trimmed();
        if (!needsQuotes) {
            out.append(field);
            continue;
        }
        QString quoted = field;
        quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
        out.append(QLatin1Char('"') + quoted + QLatin1Char('"'));
    }
    return out.join(QLatin1Char(','));
}
