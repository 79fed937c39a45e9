// make_corpus ROOT [--files N] [--seed S] [--library DB]
// Writes N MP3 files below ROOT; with --library also makes a library database
// of them (a fresh database from the schema, ROOT as media folder, scanned).
#include "corpus/Corpus.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = app.arguments().mid(1);
    corpus::Spec spec;
    QString root, library;
    bool skipGenerate = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--files") && i + 1 < args.size())
            spec.files = args[++i].toInt();
        else if (a == QLatin1String("--seed") && i + 1 < args.size())
            spec.seed = args[++i].toUInt();
        else if (a == QLatin1String("--library") && i + 1 < args.size())
            library = args[++i];
        else if (a == QLatin1String("--no-generate"))
            skipGenerate = true;
        else if (!a.startsWith(QLatin1String("--")) && root.isEmpty())
            root = a;
        else {
            err << "usage: make_corpus ROOT [--files N] [--seed S] [--library DB] "
                   "[--no-generate]\n";
            return 2;
        }
    }
    if (root.isEmpty() || spec.files < 1) {
        err << "usage: make_corpus ROOT [--files N] [--seed S] [--library DB] [--no-generate]\n";
        return 2;
    }
    QElapsedTimer timer;
    if (!skipGenerate) {
        timer.start();
        const Result<corpus::Stats> s = corpus::Generate(root, spec);
        if (!s) {
            err << "make_corpus: " << s.error() << '\n';
            return 1;
        }
        out << "files\t" << s->files << "\nartists\t" << s->artists << "\nalbums\t" << s->albums
            << "\nbytes\t" << s->bytes << "\nseconds\t" << timer.elapsed() / 1000.0 << '\n';
    }
    if (!library.isEmpty()) {
        timer.start();
        const Result<ScanCounts> c = corpus::BuildLibrary(root, library);
        if (!c) {
            err << "make_corpus: " << c.error() << '\n';
            return 1;
        }
        out << "library\t" << library << "\nscanned\t" << c->seen << "\nadded\t" << c->added
            << "\nscan seconds\t" << timer.elapsed() / 1000.0 << '\n';
    }
    return 0;
}
