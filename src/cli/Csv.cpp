#include "Csv.h"

#include "Errors.h"

namespace {

// Reads the quoted field whose opening quote is at pos; leaves pos at the comma after it or at
// the end of the line.
QString quotedField(const QString& line, qsizetype& pos) {
    QString field;
    ++pos;
    while (true) {
        if (pos >= line.size()) {
            throw InputError("a quoted field is not closed");
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
        throw InputError("text follows a closing quote");
    }
    return field;
}

QString plainField(const QString& line, qsizetype& pos) {
    qsizetype end = line.indexOf(QLatin1Char(','), pos);
    if (end < 0) {
        end = line.size();
    }
    const QString field = line.mid(pos, end - pos).trimmed();
    if (field.contains(QLatin1Char('"'))) {
        throw InputError("a double quote inside a field that does not start with one");
    }
    pos = end;
    return field;
}

}  // namespace

QStringList Csv::split(const QString& line) {
    QStringList fields;
    qsizetype pos = 0;
    while (true) {
        while (pos < line.size() && line[pos].isSpace()) {
            ++pos;
        }
        const bool quoted = pos < line.size() && line[pos] == QLatin1Char('"');
        fields.append(quoted ? quotedField(line, pos) : plainField(line, pos));
        if (pos >= line.size()) {
            return fields;
        }
        ++pos;  // the comma
    }
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
