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
const QString kKey = QStringLiteral("Software\\Test");
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
    const Result<Hive> parsed = parseHive(file, "HKEY_CURRENT_USER");
    ASSERT_TRUE(parsed.ok()) << parsed.error().toStdString();
    const RegKey* key = parsed->find(kKey);
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
