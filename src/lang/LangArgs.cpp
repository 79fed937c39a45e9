#include "lang/LangArgs.h"

#include <algorithm>

namespace LangArgs {

namespace {

// Length of the run of ASCII digits at position i.
qsizetype digitRun(const QString& text, qsizetype i) {
    qsizetype n = 0;
    while (i + n < text.size() && text.at(i + n) >= QLatin1Char('0') &&
           text.at(i + n) <= QLatin1Char('9'))
        ++n;
    return n;
}

} // namespace

QString Fill(const QString& text, const QStringList& args) {
    if (args.isEmpty() || !text.contains(QLatin1Char('%'))) return text;
    QString out;
    out.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('%')) {
            out += c;
            ++i;
            continue;
        }
        // The longest run of digits that names an argument.
        qsizetype len = std::min<qsizetype>(digitRun(text, i + 1), 9);
        for (; len > 0; --len) {
            const qsizetype index = text.mid(i + 1, len).toLongLong();
            if (index < args.size()) {
                out += args.at(index);
                break;
            }
        }
        if (len == 0) {
            out += c;
            ++i;
        } else {
            i += 1 + len;
        }
    }
    return out;
}

QList<int> Placeholders(const QString& text) {
    QList<int> found;
    for (qsizetype i = text.indexOf(QLatin1Char('%')); i >= 0;
         i = text.indexOf(QLatin1Char('%'), i + 1)) {
        const qsizetype len = std::min<qsizetype>(digitRun(text, i + 1), 9);
        if (len > 0) found.append(text.mid(i + 1, len).toInt());
    }
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    return found;
}

} // namespace LangArgs
