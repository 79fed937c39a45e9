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

} // namespace BenchSupport
