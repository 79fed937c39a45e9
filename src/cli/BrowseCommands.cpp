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

// The language the application would show, without changing any setting.
void loadLanguage(clsMUI& lang) {
    lang.SetLangFolder(mainMod::LangFolder());
    const QString stored = mainMod::ReadSetting(QStringLiteral("Misc\\LCID"));
    lang.SetLCID(static_cast<int>(mainMod::NumberOr(stored, 0)));
}

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

// Fills a list model with the columns the settings show and prints it.
int fillAndPrint(MediaLibrary& library, const clsMUI& lang, const QString& query, int mode, Io io) {
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
    io.out << outcome.sql << '\n';
    if (!outcome.error.isEmpty()) {
        io.err << "qvr: " << outcome.error << '\n';
        return 1;
    }
    printRows(model, io);
    return 0;
}

} // namespace

int runTreeCommand(const QStringList& argsIn, Io io) {
    QStringList args = argsIn;
    const QString dbPath = takeDatabaseOption(args);
    int section = TreeSection::All;
    if (args.size() == 2 && args.first() == QLatin1String("--section")) {
        bool ok = false;
        section = args.at(1).toInt(&ok);
        if (!ok || section < 0 || section > TreeSection::AudioCds) {
            io.err << "qvr tree: the section is a number from 0 to 5\n";
            return 2;
        }
    } else if (!args.isEmpty()) {
        io.err << "usage:\n" << TreeCommandUsage;
        return 2;
    }
    MediaLibrary library;
    if (!openLibrary(library, dbPath, io)) return 1;
    clsMUI lang;
    loadLanguage(lang);
    const QList<TreeNode> nodes = allNodes(library, LibraryTree::TextsFrom(lang), section);
    QHash<QString, int> depth;
    for (const TreeNode& n : nodes) {
        const int d = n.parentKey.isEmpty() ? 0 : depth.value(n.parentKey) + 1;
        depth.insert(n.key, d);
        io.out << QString(2 * d, QLatin1Char(' ')) << NodeKeys::printable(n.key) << '\t' << n.text
               << '\n';
    }
    return 0;
}

int runListCommand(const QStringList& argsIn, Io io) {
    QStringList args = argsIn;
    const QString dbPath = takeDatabaseOption(args);
    if (args.size() != 1) {
        io.err << "usage:\n" << ListCommandUsage;
        return 2;
    }
    MediaLibrary library;
    if (!openLibrary(library, dbPath, io)) return 1;
    clsMUI lang;
    loadLanguage(lang);
    const TreeTexts texts = LibraryTree::TextsFrom(lang);
    QString key = args.first();
    key.replace(QLatin1String("\\0"), QString(NodeKeys::AlbumSeparator));
    QString tag;
    if (NodeKeys::prefixOf(key) == NodeKeys::FilterPrefix)
        for (const TreeNode& n : LibraryTree::FiltersBranch(library.Connection(), texts))
            if (n.key == key) tag = n.tag;
    const NodeQuery q = BuildNodeQuery(key, tag, texts.empty);
    if (q.sql.isEmpty()) {
        io.err << "qvr list: node " << args.first() << " has no query\n";
        return 1;
    }
    return fillAndPrint(library, lang, q.sql, q.mode, io);
}

int runSearchCommand(const QStringList& argsIn, Io io) {
    QStringList args = argsIn;
    const QString dbPath = takeDatabaseOption(args);
    const QString text = args.join(QLatin1Char(' '));
    if (!QuickSearch::IsLongEnough(text)) {
        io.err << "qvr search: type at least " << QuickSearch::MinimumLength << " characters\n";
        return 2;
    }
    MediaLibrary library;
    if (!openLibrary(library, dbPath, io)) return 1;
    clsMUI lang;
    loadLanguage(lang);
    return fillAndPrint(library, lang, QuickSearch::ListQuery(text), ListMode::Search, io);
}

} // namespace qvr
