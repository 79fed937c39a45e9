#include "core/Ansi.h"
#include "lang/LangFile.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class QvLangTool : public ::testing::Test {
protected:
    QString write(const char* name, const QByteArray& bytes) {
        const QString path = m_dir.filePath(QString::fromLatin1(name));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    // A UTF-8 source with LF line ends, as kept in the repository.
    QByteArray source(int lcid, const QString& name, const QStringList& lines) {
        QStringList all{QStringLiteral("QVLF V1.0$%1$%2").arg(lcid).arg(name)};
        all += lines;
        all << QLatin1Char(';') + QString(1100, QLatin1Char('-'));
        return (all.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
    }
    ProcessResult qvlang(const QStringList& args) { return runTool(QVLANG_EXECUTABLE, args); }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(QvLangTool, EncodesUtf8SourceAsWindows1252AndDecodesAsUtf8) {
    const QString src =
        write("pt.txt", source(2070, "Português", {"$001=Não há €", "$002=Linha||outra"}));
    const QString lng = m_dir.filePath("pt.lng");
    const ProcessResult enc = qvlang({"encode", src, lng});
    ASSERT_EQ(enc.exitCode, 0) << enc.err.toStdString();

    const QString text = LangFile::DecodeLangFile(lng);
    EXPECT_TRUE(text.startsWith("QVLF V1.0$2070$Português\r\n$001=Não há €\r\n"));
    EXPECT_FALSE(text.endsWith(QLatin1Char('\n')));

    const ProcessResult dec = qvlang({"decode", lng});
    ASSERT_EQ(dec.exitCode, 0);
    EXPECT_TRUE(dec.out.startsWith("QVLF V1.0$2070$Português\n$001=Não há €\n"));

    // A decoded file encodes again to the same text.
    const QString again = write("again.txt", dec.out.toUtf8());
    ASSERT_EQ(qvlang({"encode", again, m_dir.filePath("again.lng")}).exitCode, 0);
    EXPECT_EQ(LangFile::DecodeLangFile(m_dir.filePath("again.lng")), text);
}

TEST_F(QvLangTool, AcceptsWindows1252SourcesSavedFromCapturedWindows) {
    const QString src = write(
        "de.txt", Ansi::fromUnicode(QString::fromUtf8(source(1031, "Deutsch", {"$001=Größe"}))));
    ASSERT_EQ(qvlang({"encode", src, m_dir.filePath("de.lng")}).exitCode, 0);
    EXPECT_TRUE(LangFile::DecodeLangFile(m_dir.filePath("de.lng")).contains("$001=Größe\r\n"));
}

TEST_F(QvLangTool, RejectsBadSourcesNamingTheLine) {
    const QString lng = m_dir.filePath("out.lng");
    const ProcessResult bad = qvlang(
        {"encode", write("ru.txt", source(1049, "Russian", {"$001=ok", "$002=Привет"})), lng});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_TRUE(bad.err.contains("ru.txt:3:")) << bad.err.toStdString();
    EXPECT_TRUE(bad.err.contains("U+041f")) << bad.err.toStdString();

    const ProcessResult header = qvlang({"encode", write("nohead.txt", "English\n$001=x\n"), lng});
    EXPECT_EQ(header.exitCode, 1);
    EXPECT_TRUE(header.err.contains("nohead.txt:1:"));

    const ProcessResult shortText =
        qvlang({"encode", write("short.txt", "QVLF V1.0$1033$English\n$001=x\n"), lng});
    EXPECT_EQ(shortText.exitCode, 1);
    EXPECT_TRUE(shortText.err.contains("1024"));
    EXPECT_FALSE(QFile::exists(lng));

    const ProcessResult dup =
        qvlang({"encode", write("dup.txt", source(1033, "English", {"$001=a", "$001=b"})), lng});
    EXPECT_EQ(dup.exitCode, 0);
    EXPECT_TRUE(dup.err.contains("dup.txt:3: key \"$001\" repeats line 2"));

    EXPECT_EQ(qvlang({"decode", write("junk.lng", "not a container")}).exitCode, 1);
    EXPECT_EQ(qvlang({"frobnicate"}).exitCode, 2);
    EXPECT_EQ(qvlang({}).exitCode, 2);
}

TEST_F(QvLangTool, CheckReportsHeaderAndMissingKeys) {
    const QString en = m_dir.filePath("en.lng");
    const QString de = m_dir.filePath("de.lng");
    ASSERT_EQ(qvlang({"encode",
                      write("en.txt", source(1033, "English", {"$001=One %0", "$002=Two"})), en})
                  .exitCode,
              0);
    ASSERT_EQ(
        qvlang({"encode", write("de.txt", source(1031, "Deutsch", {"$001=Eins"})), de}).exitCode,
        0);

    const ProcessResult plain = qvlang({"check", de});
    EXPECT_EQ(plain.exitCode, 0);
    EXPECT_TRUE(plain.out.contains("LCID: 1031"));
    EXPECT_TRUE(plain.out.contains("name: Deutsch"));
    EXPECT_TRUE(plain.out.contains("keys: 1"));

    const ProcessResult against = qvlang({"check", de, "--against", en});
    EXPECT_EQ(against.exitCode, 1);
    EXPECT_TRUE(against.out.contains("missing keys (1):\n  $002"));
    EXPECT_TRUE(against.out.contains("$001 (none, reference %0)"));
    EXPECT_EQ(qvlang({"check", en, "--against", en}).exitCode, 0);
}
