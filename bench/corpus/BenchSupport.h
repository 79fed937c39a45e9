#pragma once
// What the benchmark drivers share: the timing loop and the corpus options.
#include <QString>

#include <functional>

namespace cli {
class CommandLine;
}

namespace BenchSupport {

// The shortest of `runs` timings of body, in seconds; prepare (optional) runs
// before each one, untimed.
double BestOf(int runs, const std::function<void()>& prepare, const std::function<void()>& body);

// --files N and --work DIR, as every driver that builds a corpus takes them.
void AddCorpusOptions(cli::CommandLine& line, int& files, QString& work);
// --runs N and --work DIR, for drivers that time a few cases on files of their own.
void AddRunOptions(cli::CommandLine& line, int& runs, QString& work);
// The template of a scratch folder for QTemporaryDir: in work, else the temporary folder.
QString ScratchTemplate(const QString& work, const QString& program);
// "what   12.345 ms" on standard output, at once.
void Report(const char* what, double seconds, int width, int decimals);

} // namespace BenchSupport
