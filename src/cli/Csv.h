#pragma once

#include <QString>
#include <QStringList>

// Comma-separated records, one per line, with the usual quoting: a field that holds a comma,
// a double quote or spaces at its ends is written in double quotes, a double quote inside
// doubled. Example: the fields  a  and  say "hi", then  go  are the record
//   a,"say ""hi"", then go"
namespace Csv {

// The fields of one line. Spaces around a field (outside its quotes) are dropped. Throws
// InputError for a quote that is not closed or text after a closing quote.
QStringList split(const QString& line);
// One record that split() reads back as fields; line breaks inside a field become spaces.
QString join(const QStringList& fields);

}  // namespace Csv
