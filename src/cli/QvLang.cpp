#include "cli/QvLang.h"

#include "core/Ansi.h"
#include "core/AppInfo.h"
#include "lang/LangFile.h"
#include "lang/LangSource.h"
#include "lang/Mui.h"

#include <QFileInfo>

namespace qvlang {

namespace {

const char* const kUsage = "usage: qvlang encode SOURCE.txt TARGET.lng\n"
                           "       qvlang decode FILE.lng\n"
                           "       qvlang check FILE.lng [--against REFERENCE.lng]\n"
                           "       qvlang list [FOLDER]\n";

int usage(qvr::Io io) {
    io.err << kUsage;
    return 2;
}

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

int check(const QStringList& args, qvr::Io io) {
    QString path;
    QString reference;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--against") && i + 1 < args.size())
            reference = args.at(++i);
        else if (path.isEmpty() && !args.at(i).startsWith(QLatin1String("--")))
            path = args.at(i);
        else
            return usage(io);
    }
    if (path.isEmpty()) return usage(io);

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

int list(const QStringList& args, qvr::Io io) {
    if (args.size() > 1) return usage(io);
    clsMUI lang;
    lang.SetLangFolder(args.isEmpty() ? mainMod::LangFolder() : args.first());
    for (int i = 0; i < lang.AvailableLangCount(); ++i)
        io.out << lang.AvailableLCID(i) << '\t' << lang.AvailableLangName(i) << '\t'
               << lang.AvailableLangFile(i) << '\n';
    return 0;
}

} // namespace

int run(const QStringList& args, qvr::Io io) {
    const QString command = args.value(0);
    if (command == QLatin1String("encode") && args.size() == 3)
        return encode(args.at(1), args.at(2), io);
    if (command == QLatin1String("decode") && args.size() == 2) return decode(args.at(1), io);
    if (command == QLatin1String("check")) return check(args.mid(1), io);
    if (command == QLatin1String("list")) return list(args.mid(1), io);
    if (command == QLatin1String("--help") || command == QLatin1String("help")) {
        io.out << kUsage;
        return 0;
    }
    return usage(io);
}

} // namespace qvlang
