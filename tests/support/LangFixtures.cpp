#include "support/LangFixtures.h"
#include "core/AppInfo.h"
#include "lang/AppLang.h"
#include "lang/Mui.h"

#include "core/Ansi.h"
#include "lang/LangFile.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>

QString writeLangText(const QString& folder, const QString& fileName, const QString& text) {
    QString padded = text;
    if (padded.size() < LangFile::MinSourceLength)
        padded += QStringLiteral("\r\n;") + QString(LangFile::MinSourceLength, QLatin1Char('-'));
    const QString path = QDir(folder).filePath(fileName);
    const QByteArray bytes = Ansi::fromUnicode(padded);
    const Status s =
        LangFile::WriteLangContainer(path, bytes, bytes.size(), QDateTime::currentDateTime());
    EXPECT_TRUE(s.ok()) << s.error().toStdString();
    return path;
}

QString writeLangFile(const QString& folder, const QString& fileName, int lcid, const QString& name,
                      const QStringList& lines) {
    QStringList all{QStringLiteral("QVLF V1.0$%1$%2").arg(lcid).arg(name)};
    all += lines;
    return writeLangText(folder, fileName, all.join(QStringLiteral("\r\n")));
}

bool UseShippedLanguage(clsMUI& lang, int lcid) {
    lang.SetLangFolder(mainMod::LangFolder());
    lang.SetLCID(lcid);
    if (lang.LCID() != lcid) return false;
    mainMod::SetLang(&lang);
    return true;
}
