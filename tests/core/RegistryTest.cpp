#include "core/Registry.h"
#include "core/Settings.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <memory>
#include <vector>

using namespace Registry;

namespace {
const QString kKey = "Software\\Test";
}

class RegistryTest : public ConfigDirTest {};

TEST_F(RegistryTest, ValueTypesReadByTheirRules) {
    ASSERT_TRUE(CreateKey(CurrentUser, kKey));
    SetRawValue(CurrentUser, kKey, RegValue::text("plain", "hello"));
    SetRawValue(CurrentUser, kKey,
                RegValue::text("withNul", QStringLiteral("ab") + QChar(0) + "cd"));
    SetRawValue(CurrentUser, kKey,
                RegValue::text("expand", QString(300, 'x'), RegType::ExpandString));
    SetRawValue(CurrentUser, kKey,
                RegValue::text("expandNul", QStringLiteral("%PATH%") + QChar(0) + "rest",
                               RegType::ExpandString));
    SetRawValue(CurrentUser, kKey, RegValue{"binNeg", RegType::Binary, QByteArray("\xfe\xff", 2)});
    SetRawValue(CurrentUser, kKey, RegValue{"binOne", RegType::Binary, QByteArray("\x07", 1)});
    SetRawValue(CurrentUser, kKey,
                RegValue{"binFour", RegType::Binary, QByteArray("\x10\x00\x99\x99", 4)});
    SetRawValue(CurrentUser, kKey, RegValue{"binLong", RegType::Binary, QByteArray(5, '\x01')});
    SetRawValue(CurrentUser, kKey, RegValue::dword("dw", 42));
    SetRawValue(CurrentUser, kKey,
                RegValue{"multi", RegType::MultiString, QByteArray("a\0\0\0", 4)});

    EXPECT_EQ(GetValue(CurrentUser, kKey, "plain"), "hello");
    EXPECT_EQ(GetValue(CurrentUser, kKey, "PLAIN"), "hello") << "names ignore case";
    EXPECT_EQ(GetValue(CurrentUser, "software\\TEST", "plain"), "hello") << "keys ignore case";
    EXPECT_EQ(GetValue(CurrentUser, kKey, "withNul"), "ab");
    EXPECT_EQ(GetValue(CurrentUser, kKey, "expand"), QString(254, 'x'));
    EXPECT_EQ(GetValue(CurrentUser, kKey, "expandNul"), "%PATH%") << "no expansion";
    EXPECT_EQ(GetValue(CurrentUser, kKey, "binNeg"), "-2");
    EXPECT_EQ(GetValue(CurrentUser, kKey, "binOne"), "7");
    EXPECT_EQ(GetValue(CurrentUser, kKey, "binFour"), "16");
    EXPECT_EQ(GetValue(CurrentUser, kKey, "binLong"), "");
    EXPECT_EQ(GetValue(CurrentUser, kKey, "dw"), "");
    EXPECT_EQ(GetValue(CurrentUser, kKey, "multi"), "");
    EXPECT_EQ(GetValue(CurrentUser, kKey, "missing"), "");
    EXPECT_EQ(GetValue(CurrentUser, "Software\\Nowhere", "plain"), "");
}

TEST_F(RegistryTest, TypedValuesSurviveTheFileAndTheParser) {
    writeFile(hivePath("HKEY_CURRENT_USER"), "Windows Registry Editor Version 5.00\r\n\r\n"
                                             "[HKEY_CURRENT_USER\\Software\\Test]\r\n"
                                             "\"quote\"=\"say \\\"hi\\\" C:\\\\dir\"\r\n"
                                             "@=\"default\"\r\n"
                                             "\"dw\"=dword:0000002a\r\n"
                                             "\"bin\"=hex:fe,ff\r\n"
                                             "\"long\"=hex(2):41,00,42,00,\\\r\n"
                                             "  00,00\r\n"
                                             "; comment\r\n");
    EXPECT_EQ(GetValue(CurrentUser, kKey, "quote"), "say \"hi\" C:\\dir");
    EXPECT_EQ(GetValue(CurrentUser, kKey, ""), "default");
    EXPECT_EQ(GetValue(CurrentUser, kKey, "dw"), "");
    EXPECT_EQ(GetValue(CurrentUser, kKey, "bin"), "-2");
    EXPECT_EQ(GetValue(CurrentUser, kKey, "long"), "AB");

    // A rewrite keeps every value and its type, and text that needs it survives.
    ASSERT_TRUE(SetValue(CurrentUser, kKey, "multi", "one\ntwo"));
    const QByteArray file = readFile(hivePath("HKEY_CURRENT_USER"));
    const Result<ParsedHive> parsed = parseHive(file, "HKEY_CURRENT_USER");
    ASSERT_TRUE(parsed.ok()) << parsed.error().toStdString();
    EXPECT_EQ(parsed->problemCount, 0);
    const RegKey* key = parsed->hive.find(kKey);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->find("dw")->type, RegType::DWord);
    EXPECT_EQ(key->find("long")->type, RegType::ExpandString);
    EXPECT_EQ(key->find("multi")->readAsText(), "one\ntwo");
    EXPECT_EQ(key->find("quote")->readAsText(), "say \"hi\" C:\\dir");
}

TEST_F(RegistryTest, KeysMustExistBeforeValuesAreSet) {
    EXPECT_FALSE(SetValue(CurrentUser, kKey, "v", "x"));
    EXPECT_TRUE(CreateKey(CurrentUser, kKey + "\\Deep\\Er"));
    EXPECT_TRUE(SetValue(CurrentUser, kKey, "v", "x")) << "parents are created with the key";
    EXPECT_TRUE(SetValue(CurrentUser, kKey + "\\deep\\er", "v", "y"));
    EXPECT_TRUE(DeleteValue(CurrentUser, kKey, "V"));
    EXPECT_FALSE(DeleteValue(CurrentUser, kKey, "v")) << "already gone";
    EXPECT_EQ(GetValue(CurrentUser, kKey + "\\Deep\\Er", "v"), "y");
}

TEST_F(RegistryTest, RootsAreSeparateFilesAndUnknownRootsFail) {
    EXPECT_EQ(RootKey(0), 0x80000001u);
    EXPECT_EQ(RootKey(3), 0x80000000u);
    EXPECT_EQ(RootKey(7), 0u);
    for (qint32 root : {0, 1, 2, 3}) {
        ASSERT_TRUE(CreateKey(root, kKey));
        ASSERT_TRUE(SetValue(root, kKey, "who", QString::number(root)));
    }
    for (qint32 root : {0, 1, 2, 3})
        EXPECT_EQ(GetValue(root, kKey, "who"), QString::number(root));
    EXPECT_TRUE(QFile::exists(hivePath("HKEY_CLASSES_ROOT")));
    EXPECT_FALSE(CreateKey(9, kKey));
    EXPECT_EQ(GetValue(-1, kKey, "who"), "");
    EXPECT_FALSE(SetValue(4, kKey, "who", "x"));
}

TEST_F(RegistryTest, RemoteComputerBehavesAsFailedConnection) {
    EXPECT_TRUE(CreateKey(CurrentUser, kKey, "OTHERPC"));
    EXPECT_EQ(GetValue(CurrentUser, kKey, "v"), "") << "nothing was created locally";
    ASSERT_TRUE(CreateKey(CurrentUser, kKey));
    ASSERT_TRUE(SetValue(CurrentUser, kKey, "v", "local"));
    EXPECT_EQ(GetValue(CurrentUser, kKey, "v", "OTHERPC"), "");
    EXPECT_FALSE(SetValue(CurrentUser, kKey, "v", "x", "OTHERPC"));
    EXPECT_FALSE(DeleteValue(CurrentUser, kKey, "v", "OTHERPC"));
    EXPECT_EQ(GetValue(CurrentUser, kKey, "v"), "local");
}

TEST_F(RegistryTest, CorruptHiveReadsEmptyAndIsKeptBeforeRewrite) {
    const QByteArray garbage = "this is\nnot [a registry\n\"file";
    writeFile(hivePath("HKEY_CURRENT_USER"), garbage);
    EXPECT_EQ(mainMod::ReadSetting("Misc\\LCID"), "");
    EXPECT_EQ(mainMod::ReadSetting("Misc\\Mode", "5"), "5") << "the default applies";
    EXPECT_EQ(readFile(hivePath("HKEY_CURRENT_USER") + ".corrupt"), garbage);
    EXPECT_EQ(mainMod::ReadSetting("Misc\\Mode"), "5") << "the new hive is readable";

    // A second corruption does not overwrite the first backup.
    writeFile(hivePath("HKEY_CURRENT_USER"), "[no header]\n");
    ASSERT_TRUE(mainMod::WriteSetting("Misc\\Mode", "6"));
    EXPECT_EQ(readFile(hivePath("HKEY_CURRENT_USER") + ".corrupt"), garbage);
    EXPECT_EQ(readFile(hivePath("HKEY_CURRENT_USER") + ".corrupt.2"), "[no header]\n");
}

TEST_F(RegistryTest, UnwritableHiveFailsQuietlyAndKeepsDefaults) {
    // A folder where the hive file should be: nothing can be written there, even
    // by root.
    ASSERT_TRUE(QDir().mkpath(hivePath("HKEY_LOCAL_MACHINE")));
    EXPECT_FALSE(CreateKey(LocalMachine, kKey));
    EXPECT_FALSE(mainMod::WriteSetting("Misc\\DefragDatabaseOnLoad", "0", true));
    EXPECT_EQ(mainMod::ReadSetting("Misc\\DefragDatabaseOnLoad", "1", true), "1");
    EXPECT_EQ(mainMod::ReadSetting("Misc\\LCID"), "") << "the user hive still works";
    EXPECT_TRUE(mainMod::WriteSetting("Misc\\LCID", "1031"));
}

TEST_F(RegistryTest, ChangesByAnotherProcessAreSeenAndNotLost) {
    ASSERT_TRUE(mainMod::WriteSetting("Shared\\Mine", "before"));
    EXPECT_EQ(mainMod::ReadSetting("Shared\\Mine"), "before"); // now cached

    const int writers = 12;
    std::vector<std::unique_ptr<QProcess>> procs;
    for (int i = 0; i < writers; ++i) {
        auto p = std::make_unique<QProcess>();
        p->start(QStringLiteral(QVR_EXECUTABLE),
                 {"settings", "set", QStringLiteral("Shared\\P%1").arg(i), QString::number(i)});
        procs.push_back(std::move(p));
    }
    ASSERT_TRUE(mainMod::WriteSetting("Shared\\Mine", "after"));
    for (auto& p : procs) {
        ASSERT_TRUE(p->waitForFinished(30000));
        EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
    }
    for (int i = 0; i < writers; ++i)
        EXPECT_EQ(mainMod::ReadSetting(QStringLiteral("Shared\\P%1").arg(i)), QString::number(i));
    EXPECT_EQ(mainMod::ReadSetting("Shared\\Mine"), "after");
}

namespace {

const char* kHead = "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Test]\n";

QByteArray utf16WithBom(const QString& text) {
    QByteArray out("\xff\xfe", 2);
    for (const QChar c : text)
        out += QByteArray(1, static_cast<char>(c.unicode() & 0xFF)) +
               QByteArray(1, static_cast<char>(c.unicode() >> 8));
    return out;
}

Hive reparsed(const QByteArray& file) {
    Result<ParsedHive> parsed = parseHive(file, "HKEY_CURRENT_USER");
    EXPECT_TRUE(parsed.ok());
    EXPECT_EQ(parsed->problemCount, 0) << parsed->problems.value(0).reason.toStdString();
    return parsed->hive;
}

} // namespace

TEST_F(RegistryTest, BadLinesAreSkippedReportedAndKeptInTheCopy) {
    const QByteArray original = QByteArray(kHead) +                           // lines 1-3
                                "\"good\"=\"1\"\n"                            // 4
                                "\"broken\"=dword:xyz\n"                      // 5
                                "\"noEquals\"\n"                              // 6
                                "\"after\"=\"2\"\n"                           // 7
                                "[HKEY_LOCAL_MACHINE\\Software\\Other]\n"     // 8
                                "\"foreign\"=\"3\"\n"                         // 9
                                "[HKEY_CURRENT_USER\\Software\\Test\\Sub\n"   // 10
                                "\"lost\"=\"4\"\n"                            // 11
                                "[HKEY_CURRENT_USER\\Software\\Test\\Sub2]\n" // 12
                                "\"open=quote\n"                              // 13
                                "\"last\"=\"5\"\n";                           // 14
    writeFile(hivePath("HKEY_CURRENT_USER"), original);
    EXPECT_EQ(GetValue(CurrentUser, kKey, "good"), "1");
    EXPECT_EQ(GetValue(CurrentUser, kKey, "after"), "2");
    EXPECT_EQ(GetValue(CurrentUser, kKey + "\\Sub2", "last"), "5");
    EXPECT_EQ(GetValue(CurrentUser, kKey + "\\Sub", "lost"), "") << "its key line is broken";

    HiveReport report = Report(CurrentUser);
    QList<qsizetype> lines;
    for (const HiveProblem& p : report.problems)
        lines << p.line;
    EXPECT_EQ(lines, (QList<qsizetype>{5, 6, 8, 10, 13}));
    EXPECT_EQ(report.problemCount, 5);
    EXPECT_TRUE(report.keptAs.isEmpty()) << "nothing rewritten yet";
    EXPECT_EQ(readFile(hivePath("HKEY_CURRENT_USER")), original) << "reading changes nothing";

    // The first rewrite keeps every good value and copies the file as it was.
    ASSERT_TRUE(SetValue(CurrentUser, kKey, "new", "6"));
    EXPECT_EQ(readFile(hivePath("HKEY_CURRENT_USER") + ".corrupt"), original);
    EXPECT_EQ(Report(CurrentUser).keptAs, hivePath("HKEY_CURRENT_USER") + ".corrupt");
    const Hive rewritten = reparsed(readFile(hivePath("HKEY_CURRENT_USER")));
    for (const char* name : {"good", "after", "new"})
        EXPECT_NE(rewritten.find(kKey)->find(name), nullptr) << name;
    EXPECT_NE(rewritten.find(kKey + "\\Sub2")->find("last"), nullptr);
    ASSERT_TRUE(SetValue(CurrentUser, kKey, "newer", "7"));
    EXPECT_FALSE(QFile::exists(hivePath("HKEY_CURRENT_USER") + ".corrupt.2")) << "one copy";
}

TEST_F(RegistryTest, ReaderNamesEachKindOfBadLine) {
    struct Case {
        QByteArray line;
        const char* reason;
    } cases[] = {
        {"\"v\"=dword:123456789", "bad value data"},
        {"\"v\"=hex:1,2,345", "bad value data"},
        {"\"v\"=hex(zz):00", "bad value data"},
        {"\"v\"=\"unclosed", "bad value data"},
        {"\"v\"=\"a\" trailing", "bad value data"},
        {"v=\"x\"", "bad value name"},
        {"\"v\" \"x\"", "no '='"},
        {"\"a\x01\"=\"x\"", "U+0001"},
        {"\"v\"=\"\xff\xfe\"", "not UTF-8"},
        {"[HKEY_CURRENT_USERS\\X]", "not under HKEY_CURRENT_USER"},
        {"\"v\"=\"" + QByteArray(HiveLimits::MaxLineChars, 'x') + "\"", "longer than 1 MiB"},
    };
    for (const Case& c : cases) {
        const QByteArray file = QByteArray(kHead) + "\"before\"=\"1\"\n" + c.line +
                                "\n[HKEY_CURRENT_USER\\Software\\Test]\n\"after\"=\"2\"\n";
        const Result<ParsedHive> parsed = parseHive(file, "HKEY_CURRENT_USER");
        ASSERT_TRUE(parsed.ok());
        const std::string what = c.line.left(40).toStdString();
        ASSERT_EQ(parsed->problems.size(), 1) << what;
        EXPECT_EQ(parsed->problems[0].line, 5) << what;
        EXPECT_TRUE(parsed->problems[0].reason.contains(c.reason))
            << what << ": " << parsed->problems[0].reason.toStdString();
        const RegKey* key = parsed->hive.find(kKey);
        ASSERT_NE(key, nullptr);
        EXPECT_EQ(key->values().size(), 2) << what;
    }

    // No header: reported once, the sections are still read.
    const Result<ParsedHive> headless =
        parseHive("[HKEY_CURRENT_USER\\A]\n\"v\"=\"1\"\n", "HKEY_CURRENT_USER");
    ASSERT_EQ(headless->problemCount, 1);
    EXPECT_EQ(headless->hive.find("A")->find("v")->readAsText(), "1");
    // A value before any key.
    EXPECT_EQ(parseHive("REGEDIT4\n\"v\"=\"1\"\n", "HKEY_CURRENT_USER")->problemCount, 1);
    // Only the first problems are listed, all are counted.
    QByteArray many = kHead;
    for (int i = 0; i < 500; ++i)
        many += "junk\n";
    const Result<ParsedHive> junk = parseHive(many, "HKEY_CURRENT_USER");
    EXPECT_EQ(junk->problemCount, 500);
    EXPECT_EQ(junk->problems.size(), HiveLimits::MaxReportedProblems);
}

TEST_F(RegistryTest, NamesWithControlCharactersAreRefusedAndAnyDataRoundTrips) {
    ASSERT_TRUE(CreateKey(CurrentUser, kKey));
    ASSERT_TRUE(SetValue(CurrentUser, kKey, "keep", "me"));
    const QByteArray before = readFile(hivePath("HKEY_CURRENT_USER"));

    const Status badKey = EnsureKey(CurrentUser, kKey + "\\a\nb");
    EXPECT_FALSE(badKey.ok());
    EXPECT_TRUE(badKey.error().contains("U+000A")) << badKey.error().toStdString();
    EXPECT_FALSE(SetValue(CurrentUser, kKey, "a\rb", "x"));
    EXPECT_FALSE(SetValue(CurrentUser, kKey, "tab\there", "x"));
    EXPECT_FALSE(SetValue(CurrentUser, kKey, QStringLiteral("nul") + QChar(0), "x"));
    EXPECT_FALSE(SetValue(CurrentUser, kKey, QString(QChar(0xD800)), "x")) << "broken UTF-16";
    EXPECT_EQ(readFile(hivePath("HKEY_CURRENT_USER")), before) << "nothing was written";

    // Data is free: every text survives the file byte for byte.
    const QString texts[] = {
        "one\ntwo",
        "crlf\r\nend\r",
        QStringLiteral("a") + QChar(0) + QStringLiteral("b"),
        "\t tabs and \"quotes\" and \\ back\\slashes \\",
        "  blanks  ",
        QStringLiteral("broken ") + QChar(0xDC00) + QStringLiteral(" half"),
        "Grüße ☃ 😀",
        QString(),
    };
    for (int i = 0; i < int(std::size(texts)); ++i)
        ASSERT_TRUE(SetRawValue(CurrentUser, kKey, RegValue::text(QString::number(i), texts[i])));
    const Hive read = reparsed(readFile(hivePath("HKEY_CURRENT_USER")));
    for (int i = 0; i < int(std::size(texts)); ++i)
        EXPECT_EQ(read.find(kKey)->find(QString::number(i))->utf16Text(), texts[i]) << i;
    EXPECT_EQ(read.find(kKey)->find("keep")->readAsText(), "me");
}

TEST_F(RegistryTest, ExportsOfTheWindowsRegistryEditorAreRead) {
    // Version 5.00: UTF-16LE with a byte-order mark and CRLF, hex lists broken
    // over several lines.
    writeFile(hivePath("HKEY_CURRENT_USER"),
              utf16WithBom(QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n"
                                          "[HKEY_CURRENT_USER\\Software\\Test]\r\n"
                                          "\"name\"=\"Grüße ☃\"\r\n"
                                          "\"path\"=hex(2):25,00,41,00,\\\r\n"
                                          "  25,00,42,00,\\   \r\n"
                                          "  00,00\r\n"
                                          "\"bin\" = hex:fe,ff\r\n"
                                          "\"dw\"=dword:0000002a\r\n")));
    EXPECT_EQ(GetValue(CurrentUser, kKey, "name"), "Grüße ☃");
    EXPECT_EQ(GetValue(CurrentUser, kKey, "path"), "%A%B");
    EXPECT_EQ(GetValue(CurrentUser, kKey, "bin"), "-2");
    EXPECT_TRUE(Report(CurrentUser).clean());

    // Our own rewrite is UTF-8 with the 5.00 header and keeps everything.
    ASSERT_TRUE(SetValue(CurrentUser, kKey, "more", "x"));
    const QByteArray rewritten = readFile(hivePath("HKEY_CURRENT_USER"));
    EXPECT_TRUE(rewritten.startsWith("Windows Registry Editor Version 5.00\n"));
    EXPECT_TRUE(rewritten.contains(QStringLiteral("\"name\"=\"Grüße ☃\"").toUtf8()));
    const Hive again = reparsed(rewritten);
    EXPECT_EQ(again.find(kKey)->find("path")->readAsText(), "%A%B");
    EXPECT_EQ(again.find(kKey)->find("dw")->type, RegType::DWord);

    // REGEDIT4: the ANSI code page, for quoted text and for the text types in hex.
    writeFile(hivePath("HKEY_LOCAL_MACHINE"), "REGEDIT4\r\n\r\n"
                                              "[HKEY_LOCAL_MACHINE\\Software\\Test]\r\n"
                                              "\"cafe\"=\"Caf\xe9\"\r\n"
                                              "\"expand\"=hex(2):25,e9,25,00\r\n");
    EXPECT_EQ(GetValue(LocalMachine, kKey, "cafe"), "Café");
    EXPECT_EQ(GetValue(LocalMachine, kKey, "expand"), "%é%");
    EXPECT_TRUE(Report(LocalMachine).clean());
}

TEST_F(RegistryTest, SizeLimitsKeepHugeHivesAndLinesOut) {
    // A hive over the file limit is neither read nor replaced.
    QByteArray huge = QByteArray(kHead) + "\"v\"=\"";
    huge += QByteArray(HiveLimits::MaxFileBytes, 'x') + "\"\n";
    writeFile(hivePath("HKEY_CURRENT_USER"), huge);
    EXPECT_EQ(GetValue(CurrentUser, kKey, "v"), "");
    EXPECT_EQ(mainMod::ReadSetting("Misc\\Mode", "5"), "5") << "defaults apply";
    const Status refused = mainMod::TryWriteSetting("Misc\\Mode", "6");
    EXPECT_FALSE(refused.ok());
    EXPECT_TRUE(refused.error().contains("larger than 16 MiB")) << refused.error().toStdString();
    EXPECT_TRUE(Report(CurrentUser).unreadable.contains("larger than 16 MiB"));
    EXPECT_EQ(readFile(hivePath("HKEY_CURRENT_USER")), huge);
    EXPECT_FALSE(QFile::exists(hivePath("HKEY_CURRENT_USER") + ".corrupt"));
    huge.clear();

    // Values whose line would pass the line limit are refused when written.
    ASSERT_TRUE(CreateKey(LocalMachine, kKey));
    const Status tooLong = PutValue(LocalMachine, kKey,
                                    RegValue::text("long", QString(HiveLimits::MaxLineChars, 'y')));
    EXPECT_FALSE(tooLong.ok());
    EXPECT_TRUE(tooLong.error().contains("too long")) << tooLong.error().toStdString();
    const QString fits(HiveLimits::MaxLineChars - 16, 'z');
    ASSERT_TRUE(SetValue(LocalMachine, kKey, "fits", fits));
    EXPECT_EQ(GetValue(LocalMachine, kKey, "fits"), fits);
    EXPECT_FALSE(
        PutValue(LocalMachine, kKey,
                 RegValue{"bin", RegType::Binary, QByteArray(HiveLimits::MaxLineChars / 3, 1)})
            .ok())
        << "hex form counts";

    // Changes that would make the file pass the limit are not written.
    const QByteArray before = readFile(hivePath("HKEY_LOCAL_MACHINE"));
    Status committed;
    {
        Batch batch;
        for (int i = 0; i < 17; ++i)
            ASSERT_TRUE(SetValue(LocalMachine, kKey, QStringLiteral("v%1").arg(i), fits));
        committed = batch.commit();
    }
    EXPECT_FALSE(committed.ok());
    EXPECT_TRUE(committed.error().contains("larger than 16 MiB"))
        << committed.error().toStdString();
    EXPECT_EQ(readFile(hivePath("HKEY_LOCAL_MACHINE")), before);
}

TEST_F(RegistryTest, KeysWithManyValuesStayIndexed) {
    // Removal in the middle keeps the look-up of the values after it.
    RegKey key;
    for (const char* name : {"a", "b", "c", "d"})
        key.set(RegValue::text(name, name));
    EXPECT_TRUE(key.remove("B"));
    EXPECT_FALSE(key.remove("b"));
    EXPECT_EQ(key.find("C")->readAsText(), "c");
    EXPECT_EQ(key.find("d")->readAsText(), "d");
    key.set(RegValue::text("B", "again"));
    key.set(RegValue::text("A", "changed"));
    QStringList order;
    for (const RegValue& v : key.values())
        order << v.name + "=" + v.readAsText();
    EXPECT_EQ(order, QStringList({"a=changed", "c=c", "d=d", "B=again"}));

    // 100,000 values in one key load and stay usable (this took minutes when
    // every value was found by a scan of the key).
    const int count = 100000;
    QByteArray file = kHead;
    for (int i = 0; i < count; ++i)
        file += "\"Value" + QByteArray::number(i) + "\"=\"" + QByteArray::number(i) + "\"\n";
    writeFile(hivePath("HKEY_CURRENT_USER"), file);
    EXPECT_EQ(GetValue(CurrentUser, kKey, "value99999"), "99999");
    ASSERT_TRUE(DeleteValue(CurrentUser, kKey, "VALUE50000"));
    ASSERT_TRUE(SetValue(CurrentUser, kKey, "Value70000", "changed"));
    const Hive read = reparsed(readFile(hivePath("HKEY_CURRENT_USER")));
    EXPECT_EQ(read.find(kKey)->values().size(), count - 1);
    EXPECT_EQ(read.find(kKey)->find("value70000")->readAsText(), "changed");
    EXPECT_EQ(read.find(kKey)->find("value50001")->readAsText(), "50001");
}
