#include "cli/QvLang.h"

#include "cli/CommandLine.h"
#include "core/Ansi.h"
#include "core/AppInfo.h"
#include "lang/LangFile.h"
#include "lang/LangSource.h"
#include "lang/Mui.h"

#include <QFileInfo>

namespace qvlang {

namespace {

int encode(const QString& source, const QString& target, qvr::Io io) {
    const auto read = ReadLangSource(source);
    if (!read) {
        io.err << "qvlang: " << read.error() << '\n';
        return 1;
    }
    for (const QString& warning : read->warnings)
        io.err << "qvlang: warning: " << warning << '\n';
    const QByteArray bytes = Ansi::fromUnicode(read->text);
    const Status written =
        LangFile::WriteLangContainer(target, bytes, bytes.size(), QFileInfo(source).lastModified());
    if (!written) {
        io.err << "qvlang: " << source << ": " << written.error() << '\n';
        return 1;
    }
    return 0;
}

// The decoded text of a container, or an explanation on err.
bool decodeFile(const QString& path, QString& text, qvr::Io io) {
    text = LangFile::DecodeLangFile(path);
    if (text.isEmpty()) {
        io.err << "qvlang: " << path << ": not a language file, or damaged\n";
        return false;
    }
    if (!LangFile::HasHeader(text)) {
        io.err << "qvlang: " << path << ": the text lacks the QVLF V header\n";
        return false;
    }
    return true;
}

int decode(const QString& path, qvr::Io io) {
    QString text;
    if (!decodeFile(path, text, io)) return 1;
    io.out << LangFile::SplitLines(text).join(QLatin1Char('\n')) << '\n';
    return 0;
}

bool loadTexts(const QString& path, LangTexts& texts, QString* firstLine, qvr::Io io) {
    QString text;
    if (!decodeFile(path, text, io)) return false;
    if (firstLine) *firstLine = LangFile::SplitLines(text).value(0);
    return LangFile::ReadTexts(text, texts);
}

void printList(const char* title, const QStringList& items, qvr::Io io) {
    if (items.isEmpty()) return;
    io.out << title << " (" << items.size() << "):\n";
    for (const QString& item : items)
        io.out << "  " << item << '\n';
}

int check(const QString& path, const QString& reference, qvr::Io io) {
    LangTexts texts;
    QString firstLine;
    if (!loadTexts(path, texts, &firstLine, io)) return 1;
    const auto header = LangFile::ParseHeader(firstLine);
    io.out << "header: " << firstLine << '\n';
    if (!header) {
        io.err << "qvlang: " << path << ": the header has no numeric LCID\n";
        return 1;
    }
    io.out << "LCID: " << header->LCID << '\n'
           << "name: " << header->name << '\n'
           << "keys: " << texts.count() << '\n';
    if (reference.isEmpty()) return 0;

    LangTexts ref;
    if (!loadTexts(reference, ref, nullptr, io)) return 1;
    const LangDifferences d = CompareLangTexts(ref, texts);
    printList("missing keys", d.missing, io);
    printList("placeholders differ", d.placeholders, io);
    printList("keys not in the reference", d.extra, io);
    if (d.ok()) io.out << "every key of " << reference << " is present\n";
    return d.ok() ? 0 : 1;
}

int list(const QString& folder, qvr::Io io) {
    clsMUI lang;
    lang.SetLangFolder(folder.isEmpty() ? mainMod::LangFolder() : folder);
    for (int i = 0; i < lang.AvailableLangCount(); ++i)
        io.out << lang.AvailableLCID(i) << '\t' << lang.AvailableLangName(i) << '\t'
               << lang.AvailableLangFile(i) << '\n';
    return 0;
}

} // namespace

int run(const QStringList& args, qvr::Io io) {
    cli::CommandLine line(QStringLiteral("qvlang"),
                          QStringLiteral("Language files: containers from sources and back."),
                          args);
    CLI::App& app = line.app();
    app.require_subcommand(1);
    struct Options {
        QString source, target, file, reference, folder;
    } o;
    int status = cli::Success;

    CLI::App* encodeCommand =
        app.add_subcommand("encode", "Encode a UTF-8 (or Windows-1252) source into a container");
    cli::addText(encodeCommand, "SOURCE", o.source, "The source text (.txt)")
        ->required()
        ->check(line.path());
    cli::addText(encodeCommand, "TARGET", o.target, "The container to write (.lng)")
        ->required()
        ->check(line.path());
    encodeCommand->callback([&] { status = encode(o.source, o.target, io); });

    CLI::App* decodeCommand = app.add_subcommand("decode", "Print a container's text as UTF-8");
    cli::addText(decodeCommand, "FILE", o.file, "The container (.lng)")
        ->required()
        ->check(line.path());
    decodeCommand->callback([&] { status = decode(o.file, io); });

    CLI::App* checkCommand = app.add_subcommand(
        "check", "Print a container's header and key count; compare it with a reference");
    cli::addText(checkCommand, "FILE", o.file, "The container (.lng)")
        ->required()
        ->check(line.path());
    cli::addText(checkCommand, "--against", o.reference,
                 "A reference container: missing keys and placeholders that differ fail")
        ->type_name("REFERENCE")
        ->check(line.path());
    checkCommand->callback([&] { status = check(o.file, o.reference, io); });

    CLI::App* listCommand =
        app.add_subcommand("list", "The languages a folder offers (default: the Lang folder)");
    cli::addText(listCommand, "FOLDER", o.folder, "The folder")->check(line.path());
    listCommand->callback([&] { status = list(o.folder, io); });

    CLI::App* helpCommand = app.add_subcommand("help", "Print this help message");
    helpCommand->callback([&] {
        io.out << QString::fromStdString(
            app.get_formatter()->make_help(&app, "qvlang", CLI::AppFormatMode::Normal));
    });

    if (const std::optional<int> parsed = line.parse(io)) return *parsed;
    return status;
}

} // namespace qvlang
