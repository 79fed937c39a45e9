#include "BenchSupport.h"

#include "cli/CommandLine.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTextStream>

#include <algorithm>

namespace BenchSupport {

double BestOf(int runs, const std::function<void()>& prepare, const std::function<void()>& body) {
    double best = 1e100;
    for (int i = 0; i < runs; ++i) {
        if (prepare) prepare();
        QElapsedTimer t;
        t.start();
        body();
        best = std::min(best, static_cast<double>(t.nsecsElapsed()) / 1e9);
    }
    return best;
}

void AddCorpusOptions(cli::CommandLine& line, int& files, QString& work) {
    line.app()
        .add_option("--files", files, "Files in the corpus")
        ->capture_default_str()
        ->check(CLI::PositiveNumber);
    cli::addText(&line.app(), "--work", work,
                 "Keep the corpus and library here for the next run (default: a temporary "
                 "folder)")
        ->type_name("DIR")
        ->check(line.path());
}

void AddRunOptions(cli::CommandLine& line, int& runs, QString& work) {
    line.app()
        .add_option("--runs", runs, "Timed runs of each case")
        ->capture_default_str()
        ->check(CLI::PositiveNumber);
    cli::addText(&line.app(), "--work", work,
                 "Folder for the files (default: the temporary folder)")
        ->type_name("DIR")
        ->check(line.path());
}

QString ScratchTemplate(const QString& work, const QString& program) {
    return (work.isEmpty() ? QDir::tempPath() : work) + QLatin1Char('/') + program +
           QStringLiteral("-XXXXXX");
}

void Report(const char* what, double seconds, int width, int decimals) {
    static QTextStream out(stdout);
    out << qSetFieldWidth(width) << Qt::left << what << qSetFieldWidth(0) << Qt::right
        << QString::number(seconds * 1000, 'f', decimals) << " ms\n";
    out.flush();
}

} // namespace BenchSupport
