// HTML entities and URL escapes of Windows-1252 text.
#include "core/Ansi.h"
#include "util/clsWEncode.h"

#include <QList>
#include <gtest/gtest.h>

namespace {

QString ansi(int code) {
    return Ansi::toUnicode(QByteArray(1, static_cast<char>(code)));
}

enum Op { ToHtml, FromHtml, ToUrl, FromUrl };

struct Case {
    Op op;
    QString in;
    QString out;
};

QString apply(const clsWEncode& e, Op op, const QString& in) {
    switch (op) {
    case ToHtml:
        return e.ksText2HTML(in);
    case FromHtml:
        return e.ksHTML2Text(in);
    case ToUrl:
        return e.ksEncodeURL(in);
    case FromUrl:
        break;
    }
    const Result<QString> r = e.ksDecodeURL(in);
    return r ? r.value() : QStringLiteral("<error>");
}

// The per-character definition the encoders must match at any length.
QString byDefinition(const QString& text, bool url) {
    QString out;
    for (QChar c : text) {
        const int code = Ansi::codeOf(c);
        const bool plain = c.isLetterOrNumber() && c.unicode() < 128;
        if (url) {
            out += plain ? QString(c)
                         : QStringLiteral("%%1").arg(code, 2, 16, QLatin1Char('0')).toUpper();
        } else {
            out += c == QLatin1Char('<')   ? QStringLiteral("&lt;")
                   : c == QLatin1Char(' ') ? QStringLiteral("&nbsp;")
                                           : QString(c);
        }
    }
    return out;
}

} // namespace

TEST(WEncode, EdgeCasesOfTheFourOperations) {
    const clsWEncode e;
    const QList<Case> cases = {
        {ToHtml, "a <b> & c", "a&nbsp;&lt;b&gt;&nbsp;&amp;&nbsp;c"},
        {ToHtml, "it's", "it's"},
        {ToHtml, ansi(128), ansi(128)},
        {ToHtml, ansi(160), "&nbsp;"},
        {ToHtml, ansi(233) + ansi(255) + "\"", "&eacute;&yuml;&quot;"},
        {FromHtml, "&nbsp;", " "},
        {FromHtml, "&#233;", "&#233;"},
        {FromHtml, "&EACUTE;", "&EACUTE;"},
        {FromHtml, "&eacute;&Eacute;", ansi(233) + ansi(201)},
        {FromHtml, "Rock &amp;amp; Roll", "Rock &amp; Roll"},
        {FromHtml, "&lt;&gt;&quot;&shy;", "<>\"" + ansi(173)},
        {ToUrl, "a b-c.d", "a%20b%2Dc%2Ed"},
        {ToUrl, "AZaz09", "AZaz09"},
        {ToUrl, ansi(233), "%E9"},
        {ToUrl, ansi(128), "%80"},
        {FromUrl, "a+b%2Bc", "a b+c"},
        {FromUrl, "100%", "100"},
        {FromUrl, "x%4", "x4"},
        {FromUrl, "%%41", "A"},
        {FromUrl, "%e9", ansi(233)},
        {FromUrl, "%41%42c", "ABc"},
        {ToHtml, "", ""},
        {FromHtml, "", ""},
        {ToUrl, "", ""},
        {FromUrl, "", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(apply(e, c.op, c.in), c.out) << c.op << " of " << c.in.toStdString();
}

TEST(WEncode, BadEscapeIsAnErrorValue) {
    const clsWEncode e;
    for (const char* bad : {"%G1", "a%1z", "%zz%41", "% 1"}) {
        const Result<QString> r = e.ksDecodeURL(QString::fromLatin1(bad));
        EXPECT_FALSE(r.ok()) << bad;
        EXPECT_FALSE(r.error().isEmpty());
    }
}

TEST(WEncode, CharactersOutsideWindows1252EncodeAsQuestionMarks) {
    const clsWEncode e;
    EXPECT_EQ(e.ksEncodeURL(QStringLiteral("a\u4e2db")), QStringLiteral("a%3Fb"));
    EXPECT_EQ(e.ksText2HTML(QStringLiteral("\u4e2d")), QStringLiteral("?"));
    // The euro sign has a Windows-1252 code (128) and keeps it.
    EXPECT_EQ(e.ksEncodeURL(QStringLiteral("\u20ac")), QStringLiteral("%80"));
}

TEST(WEncode, LongTextsGiveThePerCharacterResultOnBothSidesOfTheLimit) {
    const clsWEncode e;
    const QString unit = QStringLiteral("a <b>") + ansi(233);
    for (int size : {clsWEncode::ConcatLimit - 1, clsWEncode::ConcatLimit,
                     clsWEncode::ConcatLimit + 1, 3 * clsWEncode::ConcatLimit}) {
        QString text;
        while (text.size() < size)
            text += unit;
        text.truncate(size);
        EXPECT_EQ(e.ksEncodeURL(text), byDefinition(text, true)) << size;
        QString html = byDefinition(text, false);
        html.replace(ansi(233), QStringLiteral("&eacute;"));
        html.replace(QStringLiteral(">"), QStringLiteral("&gt;"));
        EXPECT_EQ(e.ksText2HTML(text), html) << size;
        EXPECT_EQ(e.ksHTML2Text(e.ksText2HTML(text)), text) << size;
        EXPECT_EQ(e.ksDecodeURL(e.ksEncodeURL(text)).value(), text) << size;
    }
}
