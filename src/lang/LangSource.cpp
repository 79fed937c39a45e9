#include "lang/LangSource.h"

#include "core/Ansi.h"
#include "lang/LangArgs.h"

#include <QFile>
#include <QHash>
#include <QStringDecoder>

namespace {

QString placeholderText(const QList<int>& numbers) {
    QStringList parts;
    for (int n : numbers)
        parts.append(QLatin1Char('%') + QString::number(n));
    return parts.isEmpty() ? QStringLiteral("none") : parts.join(QLatin1Char(' '));
}

} // namespace

Result<LangSource> ReadLangSource(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Result<LangSource>::failure(
            QStringLiteral("%1: cannot read: %2").arg(path, file.errorString()));
    if (file.size() > LangFile::MaxTextLength)
        return Result<LangSource>::failure(QStringLiteral("%1: file too large").arg(path));
    const QByteArray bytes = file.readAll();

    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) text = Ansi::toUnicode(bytes);
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);

    QStringList lines = LangFile::SplitLines(text);
    if (lines.size() > 1 && lines.last().isEmpty())
        lines.removeLast(); // the final line end of a text file
    const auto where = [&path](qsizetype i) {
        return path + QLatin1Char(':') + QString::number(i + 1) + QStringLiteral(": ");
    };

    LangSource source;
    QHash<QString, qsizetype> firstLine;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines.at(i);
        for (QChar c : line)
            if (Ansi::codeOf(c) < 0)
                return Result<LangSource>::failure(
                    where(i) + QStringLiteral("'%1' (U+%2) has no Windows-1252 form")
                                   .arg(c)
                                   .arg(c.unicode(), 4, 16, QLatin1Char('0')));
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (i == 0 || eq < 0 || line.trimmed().startsWith(QLatin1Char(';'))) continue;
        const QString key = line.left(eq).toCaseFolded();
        if (firstLine.contains(key))
            source.warnings.append(where(i) +
                                   QStringLiteral("key \"%1\" repeats line %2; this value wins")
                                       .arg(line.left(eq))
                                       .arg(firstLine.value(key) + 1));
        else
            firstLine.insert(key, i);
    }
    const auto header = LangFile::ParseHeader(lines.value(0));
    if (!header || header->name.isEmpty())
        return Result<LangSource>::failure(
            where(0) + QStringLiteral("the first line must read QVLF V1.0$LCID$Name"));
    source.header = *header;
    source.text = lines.join(QStringLiteral("\r\n"));
    return source;
}

LangDifferences CompareLangTexts(const LangTexts& reference, const LangTexts& translation) {
    LangDifferences d;
    const QStringList& keys = reference.keys();
    for (qsizetype i = 0; i < keys.size(); ++i) {
        const QString& key = keys.at(i);
        if (!translation.contains(key)) {
            d.missing.append(key);
            continue;
        }
        const QList<int> want = LangArgs::Placeholders(reference.valueAt(i));
        const QList<int> got = LangArgs::Placeholders(translation.value(key));
        if (want != got)
            d.placeholders.append(QStringLiteral("%1 (%2, reference %3)")
                                      .arg(key, placeholderText(got), placeholderText(want)));
    }
    for (const QString& key : translation.keys())
        if (!reference.contains(key)) d.extra.append(key);
    return d;
}
