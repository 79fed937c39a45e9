#include "cli/UpdateCommand.h"

#include "core/AppInfo.h"
#include "util/UpdateSettings.h"
#include "util/checkUpdForm.h"

#include <QEventLoop>

namespace qvr {

namespace {

struct Options {
    QString url;
    bool urlGiven = false;
};

// The command line has no language manager: its own words for the failures.
QString failureReason(const checkUpdForm& check) {
    if (check.failureNumber() == 90)
        return QStringLiteral("the server did not answer within %1 seconds")
            .arg(checkUpdForm::DefaultTimeLimitMs / 1000);
    return QStringLiteral("the server sent an answer that could not be read");
}

// Line breaks of the message are written as "\n", as the page writes them.
QString oneLine(QString text) {
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\\n"))
        .replace(QLatin1Char('\n'), QStringLiteral("\\n"))
        .replace(QLatin1Char('\t'), QLatin1Char(' '));
}

int check(const Options& o, Io io) {
    const QString endpoint = o.urlGiven ? o.url : mainMod::UpdateUrl();
    if (endpoint.isEmpty()) {
        io.err << "qvr update-check: update checks are switched off (Misc\\UpdateURL is empty)\n";
        return cli::Failure;
    }
    checkUpdForm check(endpoint, mainMod::AppVersion());
    QEventLoop loop;
    QObject::connect(&check, &checkUpdForm::Finished, &loop, &QEventLoop::quit);
    check.Start();
    loop.exec();
    if (check.failed()) {
        io.err << "qvr update-check: " << failureReason(check) << " (" << check.requestUrl()
               << ")\n";
        return cli::Failure;
    }
    const mainMod::UpdateAnswer& answer = check.answer();
    const int order = check.comparison();
    io.out << "result\t"
           << (order == 2   ? "newer"
               : order == 0 ? "same"
                            : "older")
           << '\n'
           << "version\t" << answer.version << '\n'
           << "current\t" << mainMod::AppVersion() << '\n'
           << "beta\t" << (answer.beta ? "yes" : "no") << '\n'
           << "date\t"
           << (answer.releaseDate.isValid()
                   ? answer.releaseDate.toString(QStringLiteral("yyyy-MM-dd"))
                   : QString())
           << '\n'
           << "message\t" << oneLine(answer.message()) << '\n';
    return order == 2 ? UpdateAvailableStatus : cli::Success;
}

} // namespace

void addUpdateCommand(CLI::App& qvr, Command& command) {
    auto options = std::make_shared<Options>();
    CLI::App* update = qvr.add_subcommand(
        "update-check", "Ask the update endpoint whether a newer version exists (status 10 "
                        "when one does, 0 when not, 1 when the check failed)");
    CLI::Option* url =
        cli::addText(update, "--url", options->url, "Endpoint to ask instead of Misc\\UpdateURL");
    update->callback([&command, options, url] {
        options->urlGiven = url->count() > 0;
        command.status = check(*options, command.io);
    });
}

} // namespace qvr
