#include "cli/SettingsCommand.h"

#include "core/AppSettings.h"
#include "core/Registry.h"
#include "core/Settings.h"

namespace qvr {

namespace {

struct Parsed {
    QStringList positional;
    bool machine = false;
    QString defaultValue;
    QString error;
};

Parsed parse(const QStringList& args) {
    Parsed p;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if (a == QLatin1String("--machine"))
            p.machine = true;
        else if (a == QLatin1String("--default") && i + 1 < args.size())
            p.defaultValue = args.at(++i);
        else if (a.startsWith(QLatin1String("--")))
            p.error = QStringLiteral("unknown option '%1'").arg(a);
        else
            p.positional << a;
    }
    return p;
}

// A path as the user typed it, with control characters made visible.
QString printable(const QString& text) {
    QString out;
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            out += QStringLiteral("<U+%1>").arg(
                QString::number(c.unicode(), 16).toUpper().rightJustified(4, '0'));
        else
            out += c;
    }
    return out;
}

// The lines of the hive file that were skipped, and what became of the file.
void warnAbout(qint32 root, Io io) {
    const HiveReport report = Registry::Report(root);
    const QString prefix = QStringLiteral("qvr settings: warning: ") + report.path;
    if (!report.unreadable.isEmpty())
        io.err << prefix << " was not read (" << report.unreadable
               << "); its settings have their defaults and the file is left as it is\n";
    for (const HiveProblem& problem : report.problems)
        io.err << prefix << " line " << problem.line << ": " << problem.reason << "; skipped\n";
    if (report.problemCount > report.problems.size())
        io.err << prefix << ": " << report.problemCount - report.problems.size()
               << " more bad lines skipped\n";
    if (!report.keptAs.isEmpty())
        io.err << prefix << " was rewritten without its bad lines; the file as it was is kept as "
               << report.keptAs << '\n';
}

int effective(Io io) {
    // One rewrite per hive for all the defaults a first start writes.
    Registry::Batch batch;
    AppSettings settings;
    LoadSettings(settings);
    for (const SettingRow& row : SettingsCatalogue()) {
        QString value;
        if (row.handling != SettingRow::Direct)
            value = row.text(settings);
        else if (row.path == QLatin1String("IndexingEngine\\ServicePort"))
            value = QString::number(IndexingEnginePort());
        else
            value = mainMod::ReadSetting(row.path, row.defaultText, row.machineWide);
        io.out << row.path << '\t' << value << '\n';
    }
    // Defaults that cannot be stored (a machine-wide hive without write access)
    // still apply, silently, as on every start.
    batch.commit();
    warnAbout(Registry::CurrentUser, io);
    warnAbout(Registry::LocalMachine, io);
    return 0;
}

} // namespace

int runSettingsCommand(const QStringList& args, Io io) {
    const Parsed p = parse(args);
    const QString verb = p.positional.value(0);
    if (!p.error.isEmpty()) {
        io.err << "qvr settings: " << p.error << '\n';
        return 2;
    }
    const qint32 root = p.machine ? Registry::LocalMachine : Registry::CurrentUser;
    if (verb == QLatin1String("get") && p.positional.size() == 2) {
        io.out << mainMod::ReadSetting(p.positional.at(1), p.defaultValue, p.machine) << '\n';
        warnAbout(root, io);
        return 0;
    }
    if (verb == QLatin1String("set") && p.positional.size() == 3) {
        const Status written =
            mainMod::TryWriteSetting(p.positional.at(1), p.positional.at(2), p.machine);
        if (!written)
            io.err << "qvr settings: cannot write " << printable(p.positional.at(1)) << ": "
                   << written.error() << '\n';
        warnAbout(root, io);
        return written ? 0 : 1;
    }
    if (verb == QLatin1String("delete") && p.positional.size() == 2) {
        const Status deleted = mainMod::TryDeleteSetting(p.positional.at(1), p.machine);
        if (!deleted)
            io.err << "qvr settings: cannot delete " << printable(p.positional.at(1)) << ": "
                   << deleted.error() << '\n';
        warnAbout(root, io);
        return deleted ? 0 : 1;
    }
    if (verb == QLatin1String("effective") && p.positional.size() == 1) return effective(io);
    io.err << "usage:\n" << SettingsCommandUsage;
    return 2;
}

} // namespace qvr
