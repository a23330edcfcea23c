#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// Comma-separated records, one per line, with the usual quoting: a field that holds a comma,
// a double quote or spaces at its ends is written in double quotes, a double quote inside
// doubled. Example: the fields  a  and  say "hi", then  go  are the record
//   a,"say ""hi"", then go"
namespace Csv {

// The fields of one line. Spaces around a field (outside its quotes) are dropped. A quote that
// is not closed, text after a closing quote or a quote inside a plain field give nullopt, and
// problem says which.
std::optional<QStringList> fields(QStringView line, QString& problem);
// fields(), throwing InputError with the problem.
QStringList split(const QString& line);
// One record that split() reads back as fields; line breaks inside a field become spaces.
QString join(const QStringList& fields);

}  // namespace Csv
