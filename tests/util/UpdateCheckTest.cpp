#include "core/Registry.h"
#include "core/Settings.h"
#include "lang/AppLang.h"
#include "lang/Mui.h"
#include "support/FakeHttpServer.h"
#include "support/TestEnv.h"
#include "util/UpdateSettings.h"
#include "util/checkUpdForm.h"

#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QByteArray Page = "version=2.0.0.0\r\n"
                        "isbeta=TRUE\r\n"
                        "rdate=2026-03-01\r\n"
                        "msgbox=News|Line one\\nLine two\r\n"
                        "[EOF]";

// What one check reported.
struct Outcome {
    QList<QList<QVariant>> available;
    QList<QList<QVariant>> unavailable;
    bool finished = false;
};

Outcome runCheck(checkUpdForm& check) {
    Outcome o;
    QEventLoop loop;
    QObject::connect(&check, &checkUpdForm::UpdateAvailable, &loop,
                     [&](const QString& version, bool beta, const QDate& date, const QString& msg) {
                         o.available.append({version, beta, date, msg});
                     });
    QObject::connect(&check, &checkUpdForm::UpdateUnAvailable, &loop,
                     [&](const QString& text, bool error) {
                         o.unavailable.append({text, error});
                     });
    QObject::connect(&check, &checkUpdForm::Finished, &loop, [&] {
        o.finished = true;
        loop.quit();
    });
    QTimer::singleShot(20000, &loop, &QEventLoop::quit);
    check.Start();
    loop.exec();
    return o;
}

class UpdateCheck : public ::testing::Test {
protected:
    UpdateCheck() {
        lang.SetText(88, "unreadable");
        lang.SetText(90, "no answer");
        mainMod::SetLang(&lang);
    }
    ~UpdateCheck() override { mainMod::SetLang(nullptr); }

    Outcome check(const QString& current, bool quiet = false, int limitMs = 15000) {
        checkUpdForm c(server.url("/"), current, limitMs);
        c.Quiet = quiet;
        Outcome o = runCheck(c);
        comparison = c.comparison();
        redirects = c.redirectsFollowed();
        return o;
    }

    clsMUI lang;
    FakeHttpServer server;
    int comparison = -1;
    int redirects = -1;
};

} // namespace

TEST_F(UpdateCheck, NewerVersionIsAnnouncedWithItsDetails) {
    ASSERT_TRUE(server.listening());
    server.page("/getinfo2.asp", Page);
    const Outcome o = check("1.9.9.9", true);
    ASSERT_TRUE(o.finished);
    ASSERT_EQ(o.available.size(), 1);
    EXPECT_TRUE(o.unavailable.isEmpty());
    EXPECT_EQ(o.available[0][0].toString(), "2.0.0.0");
    EXPECT_TRUE(o.available[0][1].toBool());
    EXPECT_EQ(o.available[0][2].toDate(), QDate(2026, 3, 1));
    EXPECT_EQ(o.available[0][3].toString(), "News\r\nLine one\r\nLine two");
    EXPECT_EQ(server.requests(), QList<QString>{"/getinfo2.asp?pid=Quavero&cv=1.9.9.9"});
}

TEST_F(UpdateCheck, SameAndOlderVersionsAreReportedOnlyWhenNotQuiet) {
    server.page("/getinfo2.asp", "version=1.2\r\nrdate=later\r\n[EOF]");
    Outcome same = check("1.2.0.0");
    EXPECT_TRUE(same.available.isEmpty());
    ASSERT_EQ(same.unavailable.size(), 1);
    EXPECT_EQ(same.unavailable[0][0].toString(), "");
    EXPECT_FALSE(same.unavailable[0][1].toBool());
    EXPECT_EQ(comparison, 0);

    Outcome older = check("1.3");
    EXPECT_EQ(comparison, 1);
    EXPECT_TRUE(older.available.isEmpty());
    EXPECT_EQ(older.unavailable.size(), 1);

    Outcome quiet = check("1.2.0.0", true);
    EXPECT_TRUE(quiet.finished);
    EXPECT_TRUE(quiet.available.isEmpty());
    EXPECT_TRUE(quiet.unavailable.isEmpty());
}

TEST_F(UpdateCheck, PagesThatCannotBeReadFail) {
    server.page("/getinfo2.asp", "version=9.0\r\n");
    Outcome noEof = check("1.0");
    EXPECT_TRUE(noEof.available.isEmpty()) << "a page without [EOF] is no answer";
    ASSERT_EQ(noEof.unavailable.size(), 1);
    EXPECT_EQ(noEof.unavailable[0][0].toString(), "unreadable");
    EXPECT_TRUE(noEof.unavailable[0][1].toBool());

    server.page("/getinfo2.asp", "beta=1\r\n[EOF]");
    Outcome noVersion = check("1.0");
    ASSERT_EQ(noVersion.unavailable.size(), 1);
    EXPECT_TRUE(noVersion.unavailable[0][1].toBool());

    // Nothing listens on the path: the error page has no [EOF] either.
    checkUpdForm c(server.url("/nowhere/"), "1.0");
    const Outcome missing = runCheck(c);
    ASSERT_EQ(missing.unavailable.size(), 1);
    EXPECT_EQ(c.failureNumber(), 88);
}

TEST_F(UpdateCheck, ThreeRedirectsAreFollowedAndTheFourthIsReadAsTheAnswer) {
    // Page redirects and HTTP redirects count alike.
    server.page("/getinfo2.asp", "redir=" + server.url("/b").toUtf8() + "\r\nversion=0.1\r\n[EOF]");
    server.redirect("/b", "/c");
    server.page("/c", "@note\r\nredirect=/d\r\n[EOF]");
    server.page("/d", "version=5.0\r\nredir=/e\r\n[EOF]");
    server.page("/e", "version=6.0\r\n[EOF]");
    const Outcome o = check("1.0");
    EXPECT_EQ(redirects, 3);
    ASSERT_EQ(o.available.size(), 1);
    EXPECT_EQ(o.available[0][0].toString(), "5.0");
    ASSERT_EQ(server.requests().size(), 4);
    EXPECT_EQ(server.requests().last(), "/d");
}

TEST_F(UpdateCheck, AFourthHttpRedirectIsReadAsAnEmptyPage) {
    server.redirect("/getinfo2.asp", "/r1");
    server.redirect("/r1", "/r2");
    server.redirect("/r2", "/r3");
    server.redirect("/r3", "/r4");
    server.page("/r4", "version=9\r\n[EOF]");
    checkUpdForm c(server.url("/"), "1.0");
    const Outcome o = runCheck(c);
    EXPECT_EQ(server.requests().size(), 4);
    EXPECT_TRUE(o.available.isEmpty());
    EXPECT_EQ(c.failureNumber(), 88);
}

TEST_F(UpdateCheck, ASilentServerRunsIntoTheTimeLimit) {
    FakeHttpServer::Reply silent;
    silent.silent = true;
    server.script("/getinfo2.asp", silent);
    const Outcome o = check("1.0", false, 300);
    EXPECT_TRUE(o.finished);
    ASSERT_EQ(o.unavailable.size(), 1);
    EXPECT_EQ(o.unavailable[0][0].toString(), "no answer");
    EXPECT_TRUE(o.unavailable[0][1].toBool());
    EXPECT_EQ(server.requests().size(), 1);
}

class UpdateSchedule : public ConfigDirTest {};

TEST_F(UpdateSchedule, AtMostOneScheduledCheckADay) {
    const QDateTime morning(QDate(2026, 12, 6), QTime(8, 0));
    EXPECT_TRUE(mainMod::ClaimUpdateCheck(true, morning));
    EXPECT_EQ(mainMod::ReadSetting("Misc\\LastUpdateCheck"), "2026-12-06 08:00:00");
    EXPECT_FALSE(mainMod::ClaimUpdateCheck(true, morning.addSecs(3600 * 15)));
    EXPECT_EQ(mainMod::ReadSetting("Misc\\LastUpdateCheck"), "2026-12-06 08:00:00");
    EXPECT_TRUE(mainMod::ClaimUpdateCheck(false, morning.addSecs(60))) << "a manual check runs";
    EXPECT_EQ(mainMod::ReadSetting("Misc\\LastUpdateCheck"), "2026-12-06 08:01:00");
    EXPECT_TRUE(mainMod::ClaimUpdateCheck(true, QDateTime(QDate(2026, 12, 7), QTime(0, 0, 1))));
    EXPECT_EQ(mainMod::ReadSetting("Misc\\LastUpdateCheck"), "2026-12-07 00:00:01");

    mainMod::WriteSetting("Misc\\LastUpdateCheck", "not a date");
    EXPECT_TRUE(mainMod::ClaimUpdateCheck(true, morning));
    EXPECT_TRUE(mainMod::ScheduledCheckDue("2026-12-05 23:59:59", morning));
    EXPECT_FALSE(mainMod::ScheduledCheckDue("2026-12-06", morning));
}

TEST_F(UpdateSchedule, EndpointSettingAndItsSwitchOff) {
    mainMod::SetDefaultUpdateUrl("http://127.0.0.1:9/built-in/");
    EXPECT_EQ(mainMod::UpdateUrl(), "http://127.0.0.1:9/built-in/") << "no value: the built-in";
    mainMod::WriteSetting("Misc\\UpdateURL", "http://127.0.0.1:9/machine/", true);
    EXPECT_EQ(mainMod::UpdateUrl(), "http://127.0.0.1:9/machine/");
    mainMod::WriteSetting("Misc\\UpdateURL", "", false);
    EXPECT_EQ(mainMod::UpdateUrl(), "") << "an empty user value switches checks off";
    mainMod::WriteSetting("Misc\\UpdateURL", "http://127.0.0.1:9/user/", false);
    EXPECT_EQ(mainMod::UpdateUrl(), "http://127.0.0.1:9/user/");
    mainMod::DeleteSetting("Misc\\UpdateURL");
    mainMod::WriteSetting("Misc\\UpdateURL", "", true);
    EXPECT_EQ(mainMod::UpdateUrl(), "") << "a packager's empty machine value too";
    mainMod::SetDefaultUpdateUrl(QString());
    EXPECT_EQ(mainMod::UpdateRequestUrl("http://h/x/", "0.1.0"),
              "http://h/x/getinfo2.asp?pid=Quavero&cv=0.1.0");
}
