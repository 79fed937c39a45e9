#include "util/clsWEncode.h"

#include "core/Ansi.h"
#include "core/HexDigit.h"

namespace {

// The entity list as two parallel texts: codes split on ";", names on "|".
// The space stands first with "&nbsp;", so that "&nbsp;" decodes to a space.
const char* const kCodes =
    "32;34;38;60;62;160;161;162;163;164;165;166;167;168;169;170;171;172;173;174;175;176;177;"
    "178;179;180;181;182;183;184;185;186;187;188;189;190;191;192;193;194;195;196;197;198;199;"
    "200;201;202;203;204;205;206;207;208;209;210;211;212;213;214;215;216;217;218;219;220;221;"
    "222;223;224;225;226;227;228;229;230;231;232;233;234;235;236;237;238;239;240;241;242;243;"
    "244;245;246;247;248;249;250;251;252;253;254;255";
const char* const kNames =
    "&nbsp;|&quot;|&amp;|&lt;|&gt;|&nbsp;|&iexcl;|&cent;|&pound;|&curren;|&yen;|&brvbar;|"
    "&sect;|&uml;|&copy;|&ordf;|&laquo;|&not;|&shy;|&reg;|&macr;|&deg;|&plusmn;|&sup2;|"
    "&sup3;|&acute;|&micro;|&para;|&middot;|&cedil;|&sup1;|&ordm;|&raquo;|&frac14;|&frac12;|"
    "&frac34;|&iquest;|&Agrave;|&Aacute;|&Acirc;|&Atilde;|&Auml;|&Aring;|&AElig;|&Ccedil;|"
    "&Egrave;|&Eacute;|&Ecirc;|&Euml;|&Igrave;|&Iacute;|&Icirc;|&Iuml;|&ETH;|&Ntilde;|"
    "&Ograve;|&Oacute;|&Ocirc;|&Otilde;|&Ouml;|&times;|&Oslash;|&Ugrave;|&Uacute;|&Ucirc;|"
    "&Uuml;|&Yacute;|&THORN;|&szlig;|&agrave;|&aacute;|&acirc;|&atilde;|&auml;|&aring;|"
    "&aelig;|&ccedil;|&egrave;|&eacute;|&ecirc;|&euml;|&igrave;|&iacute;|&icirc;|&iuml;|"
    "&eth;|&ntilde;|&ograve;|&oacute;|&ocirc;|&otilde;|&ouml;|&divide;|&oslash;|&ugrave;|"
    "&uacute;|&ucirc;|&uuml;|&yacute;|&thorn;|&yuml;";

// The character of a Windows-1252 code.
QChar charOf(int code) {
    return Ansi::toUnicode(QByteArray(1, static_cast<char>(code))).at(0);
}

// "%" and the two-digit upper-case hexadecimal code of a one-character text.
QString escapeOf(const QString& one) {
    if (one.size() != 1) return QString();
    const int code = Ansi::codeOf(one.at(0));
    return QStringLiteral("%%1").arg(code, 2, 16, QLatin1Char('0')).toUpper();
}

} // namespace

clsWEncode::clsWEncode() {
    for (int c = 0; c < 256; ++c) {
        const QChar ch = charOf(c);
        const bool plain =
            (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        m_url[c] = plain ? QString(ch) : escapeOf(QString(ch));
    }
    const QStringList codes = QString::fromLatin1(kCodes).split(QLatin1Char(';'));
    m_names = QString::fromLatin1(kNames).split(QLatin1Char('|'));
    for (const QString& code : codes)
        m_entityOf << charOf(code.toInt());
    for (int c = 0; c < 256; ++c) {
        const qsizetype first = codes.indexOf(QString::number(c));
        m_html[c] = first >= 0 ? m_names.at(first) : QString(charOf(c));
    }
}

QString clsWEncode::encode(const QString& text, const Table& table) const {
    // Characters outside Windows-1252 are taken as '?', as the conversion to
    // bytes for sending takes them.
    auto entry = [&table](QChar c) -> const QString& {
        const int code = Ansi::codeOf(c);
        return table[code >= 0 && code < 256 ? code : '?'];
    };
    if (text.isEmpty()) return QString();
    if (text.size() <= ConcatLimit) {
        QString out;
        for (QChar c : text)
            out += entry(c);
        return out;
    }
    QStringList pieces;
    pieces.reserve(text.size());
    for (QChar c : text)
        pieces << entry(c);
    return pieces.join(QString());
}

QString clsWEncode::ksText2HTML(const QString& text) const {
    return encode(text, m_html);
}

QString clsWEncode::ksEncodeURL(const QString& text) const {
    return encode(text, m_url);
}

QString clsWEncode::ksHTML2Text(const QString& text) const {
    QString work = text;
    for (qsizetype j = 0; j < m_names.size(); ++j)
        if (work.contains(m_names.at(j))) work.replace(m_names.at(j), QString(m_entityOf.at(j)));
    return work;
}

Result<QString> clsWEncode::ksDecodeURL(const QString& text) const {
    QString plus = text;
    plus.replace(QLatin1Char('+'), QLatin1Char(' '));
    const QStringList segments = plus.split(QLatin1Char('%'));
    QString out = segments.first();
    for (qsizetype i = 1; i < segments.size(); ++i) {
        const QString& s = segments.at(i);
        if (s.size() < 2) {
            out += s;
            continue;
        }
        const int high = HexDigit(s.at(0)), low = HexDigit(s.at(1));
        if (high < 0 || low < 0)
            return Result<QString>::failure(
                QStringLiteral("\"%%1\" is no escape: two hexadecimal digits must follow \"%\"")
                    .arg(s.left(2)));
        out += charOf(high * 16 + low);
        out += s.mid(2);
    }
    return out;
}
