#include "cli/UpdateCommand.h"
#include "cli/Qvr.h"
#include "core/Settings.h"
#include "support/FakeHttpServer.h"
#include "support/TestEnv.h"

#include <QTextStream>
#include <gtest/gtest.h>

// Run in the test's process: the fake server answers from the same event loop.
class UpdateCommand : public ConfigDirTest {
protected:
    int qvr(const QStringList& args) {
        out.clear();
        err.clear();
        QTextStream o(&out), e(&err);
        const int status = qvr::run(args, {o, e});
        o.flush();
        e.flush();
        return status;
    }
    QStringList check() { return {"update-check", "--url", server.url("/")}; }

    FakeHttpServer server;
    QString out, err;
};

TEST_F(UpdateCommand, SaysNewerSameOrOlderThroughOutputAndStatus) {
    server.page("/getinfo2.asp", "version=9.1\r\nbeta=1\r\nrdate=2026-03-01\r\n"
                                 "msgbox=Hello|Two\\nlines\r\n[EOF]");
    EXPECT_EQ(qvr(check()), qvr::UpdateAvailableStatus) << err.toStdString();
    EXPECT_EQ(out, "result\tnewer\nversion\t9.1\ncurrent\t0.1.0\nbeta\tyes\n"
                   "date\t2026-03-01\nmessage\tHello\\nTwo\\nlines\n");
    EXPECT_EQ(server.requests().last(), "/getinfo2.asp?pid=Quavero&cv=0.1.0");

    server.page("/getinfo2.asp", "version=0.1\r\n[EOF]");
    EXPECT_EQ(qvr(check()), 0);
    EXPECT_TRUE(out.startsWith("result\tsame\nversion\t0.1\n"));

    server.page("/getinfo2.asp", "version=0.0.9\r\nrdate=never\r\n[EOF]");
    EXPECT_EQ(qvr(check()), 0);
    EXPECT_TRUE(out.startsWith("result\tolder\n"));
    EXPECT_TRUE(out.contains("\ndate\t\n"));
}

TEST_F(UpdateCommand, FailuresAndSwitchedOffChecks) {
    server.page("/getinfo2.asp", "version=9.1\r\n");
    EXPECT_EQ(qvr(check()), 1);
    EXPECT_TRUE(out.isEmpty());
    EXPECT_TRUE(err.contains("could not be read")) << err.toStdString();

    mainMod::WriteSetting("Misc\\UpdateURL", "");
    EXPECT_EQ(qvr({"update-check"}), 1);
    EXPECT_TRUE(err.contains("switched off")) << err.toStdString();
    const qsizetype asked = server.requests().size();
    mainMod::WriteSetting("Misc\\UpdateURL", server.url("/"));
    server.page("/getinfo2.asp", "version=9.1\r\n[EOF]");
    EXPECT_EQ(qvr({"update-check"}), qvr::UpdateAvailableStatus) << "the setting is the endpoint";
    EXPECT_EQ(server.requests().size(), asked + 1);
    EXPECT_TRUE(mainMod::ReadSetting("Misc\\LastUpdateCheck").isEmpty())
        << "asking from the command line leaves the daily check alone";

    EXPECT_EQ(qvr({"update-check", "--url"}), 2);
}
