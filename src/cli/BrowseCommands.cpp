#include "cli/BrowseCommands.h"

#include "cli/LibraryAccess.h"
#include "components/MediaLibrary.h"
#include "core/AppInfo.h"
#include "core/AppSettings.h"
#include "core/Settings.h"
#include "lang/Mui.h"
#include "library/FileList.h"
#include "library/LibraryTree.h"
#include "library/NodeKeys.h"
#include "library/QuickSearch.h"

namespace qvr {

namespace {

QList<TreeNode> allNodes(MediaLibrary& library, const TreeTexts& texts, int section) {
    AppSettings settings;
    LoadSettings(settings);
    QList<TreeNode> nodes;
    db::Database& db = library.Connection();
    if (section == TreeSection::All || section == TreeSection::Library)
        nodes += LibraryTree::LibraryBranch(db, texts);
    if ((section == TreeSection::All || section == TreeSection::Filters) && settings.ShowFilters)
        nodes += LibraryTree::FiltersBranch(db, texts);
    if ((section == TreeSection::All || section == TreeSection::Ratings) && settings.ShowRatings)
        nodes += LibraryTree::RatingsBranch(texts);
    if ((section == TreeSection::All || section == TreeSection::VirtualFolders) &&
        settings.ShowVFolders)
        nodes += LibraryTree::VirtualFoldersBranch(*library.VirtualFolders(), texts);
    return nodes;
}

// Stable names of the list columns, for JSON rows.
const char* const ColumnNames[ListColumns::Count] = {"filename", "track",   "title",     "duration",
                                                     "artist",   "album",   "year",      "genre",
                                                     "size",     "bitrate", "frequency", "folder"};

void printRows(FileListModel& model, Io io) {
    for (int s = 0; s < model.columnCount(); ++s)
        io.out << (s ? "\t" : "") << model.headerData(s, Qt::Horizontal).toString();
    io.out << '\n';
    for (int r = 0; r < model.rowCount(); ++r) {
        for (int s = 0; s < model.columnCount(); ++s)
            io.out << (s ? "\t" : "") << model.text(r, s);
        io.out << '\n';
    }
}

void printJsonRows(FileListModel& model, Io io) {
    for (int r = 0; r < model.rowCount(); ++r) {
        QJsonObject row{{QStringLiteral("id"), model.id(r)},
                        {QStringLiteral("path"), model.tag(r)}};
        for (int s = 0; s < model.columnCount(); ++s)
            row.insert(QLatin1String(ColumnNames[model.columns().at(s)]), model.text(r, s));
        printJson(row, io);
    }
}

// Fills a list model with the columns the settings show and prints it: the
// statement, then the rows (only the rows in JSON).
int fillAndPrint(MediaLibrary& library, const clsMUI& lang, const QString& query, int mode,
                 bool json, Io io) {
    AppSettings settings;
    LoadSettings(settings);
    FileListModel model;
    QList<int> columns;
    QStringList headers;
    for (int c = 0; c < ListColumns::Count; ++c) {
        if (settings.Columns[c].Show || c == 0) columns << c;
        headers << (lang.IsLoaded() ? lang.Text(ListColumns::HeaderTextNumber(c))
                                    : QString::fromLatin1(ListColumns::SourceField(c)));
    }
    model.setColumns(columns);
    model.setHeaderTexts(headers);
    FileList list(model);
    const FileList::Outcome outcome = list.FillList(library.Connection(), query, mode);
    if (!json) io.out << outcome.sql << '\n';
    if (!outcome.error.isEmpty()) {
        io.err << "qvr: " << outcome.error << '\n';
        return 1;
    }
    if (json)
        printJsonRows(model, io);
    else
        printRows(model, io);
    return 0;
}

} // namespace

void addBrowseCommands(CLI::App& qvr, Command& command) {
    struct Options {
        int section = TreeSection::All;
        QString key;
        QStringList words;
        LibraryOptions library;
    };
    auto options = std::make_shared<Options>();

    CLI::App* tree = qvr.add_subcommand(
        "tree", "The library tree: each node's key (NUL as \\0) and text, indented");
    tree->add_option("--section", options->section,
                     "0 all, 1 library, 2 filters, 3 ratings, 4 virtual folders, 5 audio CDs")
        ->check(CLI::Range(TreeSection::All, TreeSection::AudioCds));
    addLibraryOptions(tree, options->library, command.line, true);
    tree->callback([&command, options] {
        command.status = runTreeCommand(options->section, options->library, command.io);
    });

    CLI::App* list = qvr.add_subcommand(
        "list", "The node's query and its files as the list shows them (_lib: every file)");
    cli::addText(list, "NODEKEY", options->key, "A key as qvr tree prints it")->required();
    addLibraryOptions(list, options->library, command.line, true);
    list->callback([&command, options] {
        command.status = runListCommand(options->key, options->library, command.io);
    });

    CLI::App* search =
        qvr.add_subcommand("search", "The quick-search statement and the files it finds");
    cli::addTexts(search, "TEXT", options->words, "The words to find")->required();
    addLibraryOptions(search, options->library, command.line, true);
    search->callback([&command, options] {
        command.status =
            runSearchCommand(options->words.join(QLatin1Char(' ')), options->library, command.io);
    });
}

int runTreeCommand(int section, const LibraryOptions& options, Io io) {
    MediaLibrary library;
    if (!openExistingLibrary(library, options.db, io)) return 1;
    clsMUI lang;
    loadLanguage(lang);
    const QList<TreeNode> nodes = allNodes(library, LibraryTree::TextsFrom(lang), section);
    QHash<QString, int> depth;
    for (const TreeNode& n : nodes) {
        const int d = n.parentKey.isEmpty() ? 0 : depth.value(n.parentKey) + 1;
        depth.insert(n.key, d);
        if (options.json)
            printJson({{QStringLiteral("key"), NodeKeys::printable(n.key)},
                       {QStringLiteral("parent"), NodeKeys::printable(n.parentKey)},
                       {QStringLiteral("depth"), d},
                       {QStringLiteral("text"), n.text}},
                      io);
        else
            io.out << QString(2 * d, QLatin1Char(' ')) << NodeKeys::printable(n.key) << '\t'
                   << n.text << '\n';
    }
    return 0;
}

int runListCommand(const QString& nodeKey, const LibraryOptions& options, Io io) {
    MediaLibrary library;
    if (!openExistingLibrary(library, options.db, io)) return 1;
    clsMUI lang;
    loadLanguage(lang);
    const TreeTexts texts = LibraryTree::TextsFrom(lang);
    QString key = nodeKey;
    key.replace(QLatin1String("\\0"), QString(NodeKeys::AlbumSeparator));
    // The window leaves the list alone on the library node; here it means every file.
    if (key == NodeKeys::Library)
        return fillAndPrint(library, lang, QStringLiteral("select * from files order by fullpath"),
                            ListMode::Library, options.json, io);
    QString tag;
    if (NodeKeys::prefixOf(key) == NodeKeys::FilterPrefix)
        for (const TreeNode& n : LibraryTree::FiltersBranch(library.Connection(), texts))
            if (n.key == key) tag = n.tag;
    const NodeQuery q = BuildNodeQuery(key, tag, texts.empty);
    if (q.sql.isEmpty()) {
        io.err << "qvr list: node " << nodeKey << " has no query\n";
        return 1;
    }
    return fillAndPrint(library, lang, q.sql, q.mode, options.json, io);
}

int runSearchCommand(const QString& text, const LibraryOptions& options, Io io) {
    if (!QuickSearch::IsLongEnough(text)) {
        io.err << "qvr search: type at least " << QuickSearch::MinimumLength << " characters\n";
        return 2;
    }
    MediaLibrary library;
    if (!openExistingLibrary(library, options.db, io)) return 1;
    clsMUI lang;
    loadLanguage(lang);
    return fillAndPrint(library, lang, QuickSearch::ListQuery(text), ListMode::Search, options.json,
                        io);
}

} // namespace qvr
