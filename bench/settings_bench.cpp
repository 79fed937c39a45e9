// Timing driver for the settings store.
//
//   settings_bench [--values N[,N...]]
//
// Measures, in a private settings folder:
//   read key    a fresh read of a hive whose one key holds N values (default 40000 and
//               95000), then a look-up of its last value
//   first load  LoadSettings on an empty store, with the number of hive rewrites
//   big hive    a fresh read of a 15 MiB hive made of 1 MiB string values
#include "cli/CommandLine.h"
#include "core/AppSettings.h"
#include "core/HiveFile.h"
#include "core/Registry.h"
#include "corpus/BenchSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <optional>

namespace {

QTextStream out(stdout);
const QString kRoot = QStringLiteral("HKEY_CURRENT_USER");

double bestOf(int runs, const std::function<void()>& prepare, const std::function<void()>& body) {
    return BenchSupport::BestOf(runs, prepare, body);
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

void readKey(const QString& folder, int values) {
    QByteArray text =
        "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Big]\n";
    for (int i = 0; i < values; ++i)
        text += "\"Value" + QByteArray::number(i) + "\"=\"" + QByteArray::number(i * 7) + "\"\n";
    const QString path = folder + QStringLiteral("/read.reg");
    writeFile(path, text);
    const QString last = QStringLiteral("value%1").arg(values - 1);
    QString found;
    const double s = bestOf(3, nullptr, [&] {
        HiveFile file(path, kRoot);
        const Hive hive = file.read();
        const RegKey* key = hive.find(QStringLiteral("Software\\Big"));
        const RegValue* value = key ? key->find(last) : nullptr;
        found = value ? value->readAsText() : QString();
    });
    out << "read key    " << values << " values: " << QString::number(s, 'f', 3) << " s"
        << (found == QString::number((values - 1) * 7) ? "" : "  (look-up FAILED)") << '\n';
    out.flush();
}

void firstLoad() {
    std::optional<QTemporaryDir> dir;
    int rewrites = 0;
    const double s = bestOf(
        3,
        [&] {
            dir.emplace();
            qputenv("QUAVERO_CONFIG_DIR", dir->path().toLocal8Bit());
        },
        [&] {
            AppSettings settings;
            LoadSettings(settings);
            rewrites = 0;
            for (qint32 root : {Registry::CurrentUser, Registry::LocalMachine})
                rewrites += static_cast<int>(
                    HiveFile::at(Registry::HivePath(root), Registry::RootName(root))->writeCount());
        });
    out << "first load  " << QString::number(s * 1000, 'f', 1) << " ms, " << rewrites
        << " hive rewrites\n";
    out.flush();
}

void bigHive(const QString& folder) {
    QByteArray text =
        "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Big]\n";
    const QByteArray chunk((1 << 20) - 16, 'x');
    for (int i = 0; i < 15; ++i)
        text += "\"V" + QByteArray::number(i) + "\"=\"" + chunk + "\"\n";
    const QString path = folder + QStringLiteral("/big.reg");
    writeFile(path, text);
    qsizetype values = 0;
    const double s = bestOf(3, nullptr, [&] {
        HiveFile file(path, kRoot);
        const RegKey* key = file.read().find(QStringLiteral("Software\\Big"));
        values = key ? key->values().size() : 0;
    });
    out << "big hive    " << text.size() / (1 << 20) << " MiB, " << values
        << " values: " << QString::number(s, 'f', 3) << " s\n";
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::vector<int> counts = {40000, 95000};
    cli::CommandLine line(QStringLiteral("settings_bench"),
                          QStringLiteral("Time reading a key with many values, a first start's "
                                         "defaults and a large hive."),
                          app.arguments().mid(1));
    line.app()
        .add_option("--values", counts, "Values in the key, for each run (e.g. 40000,95000)")
        ->delimiter(',')
        ->check(CLI::PositiveNumber);
    QTextStream err(stderr);
    if (const std::optional<int> status = line.parse({out, err})) return *status;
    QTemporaryDir work;
    for (int n : counts)
        readKey(work.path(), n);
    firstLoad();
    bigHive(work.path());
    return 0;
}
