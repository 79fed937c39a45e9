#include "cli/SettingsCommand.h"

#include "core/AppSettings.h"
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

int effective(Io io) {
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
    if (verb == QLatin1String("get") && p.positional.size() == 2) {
        io.out << mainMod::ReadSetting(p.positional.at(1), p.defaultValue, p.machine) << '\n';
        return 0;
    }
    if (verb == QLatin1String("set") && p.positional.size() == 3) {
        if (mainMod::WriteSetting(p.positional.at(1), p.positional.at(2), p.machine)) return 0;
        io.err << "qvr settings: cannot write " << p.positional.at(1) << '\n';
        return 1;
    }
    if (verb == QLatin1String("delete") && p.positional.size() == 2) {
        if (mainMod::DeleteSetting(p.positional.at(1), p.machine)) return 0;
        io.err << "qvr settings: no value " << p.positional.at(1) << " to delete\n";
        return 1;
    }
    if (verb == QLatin1String("effective") && p.positional.size() == 1) return effective(io);
    io.err << "usage:\n" << SettingsCommandUsage;
    return 2;
}

} // namespace qvr
