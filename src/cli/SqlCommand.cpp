#include "cli/SqlCommand.h"

#include "cli/LibraryAccess.h"
#include "components/MediaLibrary.h"

namespace qvr {

int runSqlCommand(const QStringList& argsIn, Io io) {
    QStringList args = argsIn;
    const QString dbPath = takeDatabaseOption(args);
    if (args.size() != 1) {
        io.err << "usage: qvr sql \"STATEMENT\"\n";
        return 2;
    }
    MediaLibrary library;
    if (!openLibrary(library, dbPath, io)) return 1;
    Result<db::Recordset> r = library.Connection().query(args.first());
    if (!r) {
        io.err << "qvr sql: " << r.error() << '\n';
        return 1;
    }
    db::Recordset& rs = r.value();
    const int columns = rs.fieldCount();
    if (columns == 0) {
        if (Status s = rs.execute(); !s) {
            io.err << "qvr sql: " << s.error() << '\n';
            return 1;
        }
        io.out << library.Connection().changes() << " rows changed\n";
        return 0;
    }
    for (int i = 0; i < columns; ++i)
        io.out << (i ? "\t" : "") << rs.fieldName(i);
    io.out << '\n';
    while (rs.next()) {
        for (int i = 0; i < columns; ++i) {
            QString v = rs.text(i);
            v.replace(QLatin1Char('\t'), QLatin1Char(' '))
                .replace(QLatin1Char('\n'), QLatin1Char(' '));
            io.out << (i ? "\t" : "") << v;
        }
        io.out << '\n';
    }
    if (!rs.error().isEmpty()) {
        io.err << "qvr sql: " << rs.error() << '\n';
        return 1;
    }
    return 0;
}

} // namespace qvr
