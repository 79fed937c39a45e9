#include "cli/VirtualFolderCommand.h"

#include "cli/LibraryAccess.h"
#include "components/FileRecord.h"
#include "components/MediaLibrary.h"
#include "lang/Mui.h"

namespace qvr {

namespace {

struct Options {
    QString folder;
    QString name;
    QStringList files;
    QString file; // move
    QString position;
    const CLI::Option* nameOption = nullptr; // new: given, or the language's name
    LibraryOptions library;
};

void fail(Io io, const QString& text) {
    io.err << "qvr vf: " << text << '\n';
}

// A positive whole number, else 0.
qint32 idOf(const QString& text) {
    bool ok = false;
    const qint32 id = text.trimmed().toInt(&ok);
    return ok && id > 0 ? id : 0;
}

// The folder the ID names, made current; 0 (and the reason printed) when none.
qint32 selectFolder(MediaLibrary& library, const QString& text, Io io) {
    const qint32 id = idOf(text);
    if (id == 0) {
        fail(io, QStringLiteral("not a virtual folder id: ") + text);
        return 0;
    }
    if (!library.VirtualFolders()->SelectFolder(id)) {
        fail(io, QStringLiteral("no virtual folder ") + text);
        return 0;
    }
    return id;
}

// The file ids, each checked: in the library, or (member) in the folder. Every
// bad one is named; empty when any was bad, so that nothing is half done.
QList<qint32> checkedFiles(MediaLibrary& library, qint32 folder, const QStringList& texts,
                           bool member, Io io) {
    QList<qint32> ids;
    bool bad = false;
    for (const QString& text : texts) {
        const qint32 id = idOf(text);
        if (id == 0) {
            fail(io, QStringLiteral("not a file id: ") + text);
            bad = true;
        } else if (!library.GetFileField(id, FileField::Id).isValid()) {
            fail(io, QStringLiteral("no file ") + text + QStringLiteral(" in the library"));
            bad = true;
        } else if (member && !library.VirtualFolders()->Contains(folder, id)) {
            fail(io, QStringLiteral("file ") + text + QStringLiteral(" is not in virtual folder ") +
                         QString::number(folder));
            bad = true;
        } else {
            ids << id;
        }
    }
    return bad ? QList<qint32>() : ids;
}

void printFolder(qint32 id, const QString& name, bool json, Io io) {
    if (json)
        printJson({{QStringLiteral("id"), id}, {QStringLiteral("name"), name}}, io);
    else
        io.out << id << '\t' << name << '\n';
}

int list(const Options& options, Io io) {
    MediaLibrary library;
    if (!openExistingLibrary(library, options.library.db, io)) return 1;
    const VirtualFolderStore& store = *library.VirtualFolders();
    const qint32 count = store.FolderCount();
    for (qint32 i = 1; i <= count; ++i)
        printFolder(store.FolderIdAt(i), store.FolderNameAt(i), options.library.json, io);
    return 0;
}

int create(const Options& options, Io io) {
    QString base = options.name;
    if (options.nameOption->count() == 0) {
        clsMUI lang;
        loadLanguage(lang);
        base = lang.Text(28);
        if (base.isEmpty()) base = QStringLiteral("New Folder");
    }
    MediaLibrary library;
    if (!openLibrary(library, options.library.db, io)) return 1;
    QString name;
    const qint32 id = library.VirtualFolders()->CreateNumbered(base, &name);
    if (id == 0) {
        fail(io, library.IsReadOnly() ? QStringLiteral("the library is read-only")
                                      : QStringLiteral("cannot make a folder named \"") + base +
                                            QStringLiteral("\" (a name needs more than blanks)"));
        return 1;
    }
    printFolder(id, name, false, io);
    return 0;
}

int rename(const Options& options, Io io) {
    MediaLibrary library;
    if (!openExistingLibrary(library, options.library.db, io)) return 1;
    if (selectFolder(library, options.folder, io) == 0) return 1;
    VirtualFolderStore& store = *library.VirtualFolders();
    if (!store.RenameCurrent(options.name)) {
        fail(io, QStringLiteral("cannot rename virtual folder ") + options.folder +
                     QStringLiteral(" to \"") + options.name +
                     QStringLiteral("\": the name is blank or another folder has it"));
        return 1;
    }
    return 0;
}

int remove(const Options& options, Io io) {
    MediaLibrary library;
    if (!openExistingLibrary(library, options.library.db, io)) return 1;
    if (selectFolder(library, options.folder, io) == 0) return 1;
    library.VirtualFolders()->DeleteCurrent();
    return 0;
}

int addFiles(const Options& options, Io io) {
    MediaLibrary library;
    if (!openExistingLibrary(library, options.library.db, io)) return 1;
    const qint32 folder = selectFolder(library, options.folder, io);
    if (folder == 0) return 1;
    const QList<qint32> ids = checkedFiles(library, folder, options.files, false, io);
    if (ids.isEmpty()) return 1;
    int status = 0;
    for (qint32 id : ids)
        if (!library.VirtualFolders()->AddFile(id, folder)) {
            fail(io, QStringLiteral("cannot add file %1").arg(id));
            status = 1;
        }
    return status;
}

int removeFiles(const Options& options, Io io) {
    MediaLibrary library;
    if (!openExistingLibrary(library, options.library.db, io)) return 1;
    const qint32 folder = selectFolder(library, options.folder, io);
    if (folder == 0) return 1;
    const QList<qint32> ids = checkedFiles(library, folder, options.files, true, io);
    if (ids.isEmpty()) return 1;
    int status = 0;
    for (qint32 id : ids)
        if (!library.VirtualFolders()->RemoveFile(id, folder)) {
            fail(io, QStringLiteral("cannot remove file %1").arg(id));
            status = 1;
        }
    return status;
}

int move(const Options& options, Io io) {
    MediaLibrary library;
    if (!openExistingLibrary(library, options.library.db, io)) return 1;
    const qint32 folder = selectFolder(library, options.folder, io);
    if (folder == 0) return 1;
    const QList<qint32> ids = checkedFiles(library, folder, {options.file}, true, io);
    if (ids.isEmpty()) return 1;
    VirtualFolderStore& store = *library.VirtualFolders();
    const qsizetype count = store.Members(folder).size();
    const qint32 position = idOf(options.position);
    if (position == 0 || position > count) {
        fail(io, QStringLiteral("position ") + options.position +
                     QStringLiteral(" is not between 1 and %1").arg(count));
        return 1;
    }
    if (!store.MoveFile(ids.first(), position)) {
        fail(io, QStringLiteral("cannot move file ") + options.file);
        return 1;
    }
    return 0;
}

int show(const Options& options, Io io) {
    MediaLibrary library;
    if (!openExistingLibrary(library, options.library.db, io)) return 1;
    const qint32 folder = selectFolder(library, options.folder, io);
    if (folder == 0) return 1;
    int position = 0;
    for (const VirtualFolderStore::Member& m : library.VirtualFolders()->Members(folder)) {
        ++position;
        if (options.library.json)
            printJson({{QStringLiteral("position"), position},
                       {QStringLiteral("id"), m.fileId},
                       {QStringLiteral("path"), m.fullPath}},
                      io);
        else
            io.out << position << '\t' << m.fileId << '\t' << m.fullPath << '\n';
    }
    return 0;
}

} // namespace

void addVirtualFolderCommand(CLI::App& qvr, Command& command) {
    CommandGroup<Options> group(qvr, command, "vf", "The virtual folders");
    Options* options = &group.options();
    const auto sub = [&group](const char* name, const char* description, bool json,
                              int (*action)(const Options&, Io)) {
        return group.add(name, description, json, action);
    };
    const auto folderArgument = [&](CLI::App* c) {
        cli::addText(c, "ID", options->folder, "The folder's id")->required();
    };

    sub("list", "Every folder: ID<TAB>NAME, in the tree's order", true, list);

    CLI::App* newCommand =
        sub("new", "Make a folder; a taken name gets 1, 2, ... added. Prints ID<TAB>NAME", false,
            create);
    options->nameOption = cli::addText(newCommand, "NAME", options->name,
                                       "The name (default: the language's name for a new folder)");

    CLI::App* renameCommand = sub("rename", "Rename a folder", false, rename);
    folderArgument(renameCommand);
    cli::addText(renameCommand, "NAME", options->name, "The new name")->required();

    CLI::App* deleteCommand =
        sub("delete", "Delete a folder (its files stay in the library)", false, remove);
    folderArgument(deleteCommand);

    CLI::App* addCommand = sub("add", "Add library files to a folder, at its end", false, addFiles);
    folderArgument(addCommand);
    cli::addTexts(addCommand, "FILEID", options->files, "Library file ids")->required();

    CLI::App* removeCommand =
        sub("remove", "Take files out of a folder (they stay in the library)", false, removeFiles);
    folderArgument(removeCommand);
    cli::addTexts(removeCommand, "FILEID", options->files, "File ids in the folder")->required();

    CLI::App* moveCommand = sub("move", "Move a file to a 1-based position", false, move);
    folderArgument(moveCommand);
    cli::addText(moveCommand, "FILEID", options->file, "The file's id")->required();
    cli::addText(moveCommand, "POS", options->position, "The new position, from 1")->required();

    CLI::App* showCommand =
        sub("show", "A folder's files: POS<TAB>FILEID<TAB>FULLPATH, in order", true, show);
    folderArgument(showCommand);
}

} // namespace qvr
