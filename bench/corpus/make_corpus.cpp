// make_corpus ROOT [--files N] [--seed S] [--library DB [--force]] [--no-generate]
// Writes N MP3 files below ROOT; with --library also makes a library database
// of them (a fresh database from the schema, ROOT as media folder, scanned).
#include "cli/CommandLine.h"
#include "corpus/Corpus.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    cli::CommandLine line(QStringLiteral("make_corpus"),
                          QStringLiteral("Write a corpus of generated MP3 files, and a library of "
                                         "them."),
                          app.arguments().mid(1));
    CLI::App& cmd = line.app();
    corpus::Spec spec;
    QString root, library;
    bool skipGenerate = false;
    bool force = false;
    cli::addText(&cmd, "ROOT", root, "The folder to write the files below")
        ->required()
        ->check(line.path());
    cmd.add_option("--files", spec.files, "How many files")
        ->capture_default_str()
        ->check(CLI::PositiveNumber);
    cmd.add_option("--seed", spec.seed, "Seed of the tags and names")->capture_default_str();
    cli::addText(&cmd, "--library", library, "Also make a library database of the files")
        ->type_name("DB")
        ->check(line.path());
    cmd.add_flag("--force", force, "Replace the --library database when it exists");
    cmd.add_flag("--no-generate", skipGenerate, "Use the files already below ROOT");
    if (const std::optional<int> status = line.parse({out, err})) return *status;

    if (!library.isEmpty() && QFileInfo::exists(library) && !force) {
        err << "make_corpus: " << library << " exists; give --force to replace it\n";
        return cli::Failure;
    }
    QElapsedTimer timer;
    if (!skipGenerate) {
        timer.start();
        const Result<corpus::Stats> s = corpus::Generate(root, spec);
        if (!s) {
            err << "make_corpus: " << s.error() << '\n';
            return cli::Failure;
        }
        out << "files\t" << s->files << "\nartists\t" << s->artists << "\nalbums\t" << s->albums
            << "\nbytes\t" << s->bytes << "\nseconds\t" << timer.elapsed() / 1000.0 << '\n';
    }
    if (!library.isEmpty()) {
        timer.start();
        const Result<ScanCounts> c = corpus::BuildLibrary(root, library);
        if (!c) {
            err << "make_corpus: " << c.error() << '\n';
            return cli::Failure;
        }
        out << "library\t" << library << "\nscanned\t" << c->seen << "\nadded\t" << c->added
            << "\nscan seconds\t" << timer.elapsed() / 1000.0 << '\n';
    }
    return cli::Success;
}
