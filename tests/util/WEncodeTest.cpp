// HTML entities and URL escapes of Windows-1252 text.
#include "core/Ansi.h"
#include "util/clsWEncode.h"

#include <gtest/gtest.h>

namespace {

QString ansi(int code) {
    return Ansi::toUnicode(QByteArray(1, static_cast<char>(code)));
}

} // namespace

TEST(WEncode, EdgeCasesOfTheFourOperations) {
    const clsWEncode e;
    using Op = QString (*)(const clsWEncode&, const QString&);
    const Op toHtml = [](const clsWEncode& e, const QString& t) { return e.ksText2HTML(t); };
    const Op fromHtml = [](const clsWEncode& e, const QString& t) { return e.ksHTML2Text(t); };
    const Op toUrl = [](const clsWEncode& e, const QString& t) { return e.ksEncodeURL(t); };
    const Op fromUrl = [](const clsWEncode& e, const QString& t) {
        const Result<QString> r = e.ksDecodeURL(t);
        return r ? r.value() : QStringLiteral("<error>");
    };
    const struct {
        Op op;
        QString in, out;
    } cases[] = {
        {toHtml, "a <b> & c", "a&nbsp;&lt;b&gt;&nbsp;&amp;&nbsp;c"},
        {toHtml, "it's" + ansi(128), "it's" + ansi(128)},
        {toHtml, ansi(160) + ansi(233) + ansi(255), "&nbsp;&eacute;&yuml;"},
        {toHtml, QStringLiteral("\u4e2d"), "?"}, // no Windows-1252 code
        {fromHtml, "&nbsp;&#233;&EACUTE;", " &#233;&EACUTE;"},
        {fromHtml, "&eacute;&Eacute;&amp;amp;", ansi(233) + ansi(201) + "&amp;"},
        {toUrl, "a b-c.d", "a%20b%2Dc%2Ed"},
        {toUrl, "AZaz09" + ansi(233) + QStringLiteral("\u20ac\u4e2d"), "AZaz09%E9%80%3F"},
        {fromUrl, "a+b%2Bc", "a b+c"},
        {fromUrl, "100%", "100"},
        {fromUrl, "x%4", "x4"},
        {fromUrl, "%%41", "A"},
        {fromUrl, "%e9", ansi(233)},
        {fromUrl, "%G1", "<error>"},
        {fromUrl, "a%1z", "<error>"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.op(e, c.in), c.out) << c.in.toStdString();
    for (Op op : {toHtml, fromHtml, toUrl, fromUrl})
        EXPECT_EQ(op(e, QString()), QString());
}

TEST(WEncode, LongTextsGiveThePerCharacterResultOnBothSidesOfTheLimit) {
    const clsWEncode e;
    for (int size : {2047, 2048, 2049, 6000}) {
        QString text, url, html;
        for (int i = 0; i < size; ++i) {
            const bool letter = i % 3 == 0;
            text += letter ? QChar('x') : QChar(' ');
            url += letter ? QStringLiteral("x") : QStringLiteral("%20");
            html += letter ? QStringLiteral("x") : QStringLiteral("&nbsp;");
        }
        EXPECT_EQ(e.ksEncodeURL(text), url) << size;
        EXPECT_EQ(e.ksText2HTML(text), html) << size;
    }
}
