#pragma once
// Placeholders "%0", "%1", ... in numbered texts.
#include <QList>
#include <QString>
#include <QStringList>

namespace LangArgs {

// Replaces each placeholder by its argument in one pass, so that an argument
// holding "%1" stays as it is. With ten or more arguments "%10" is argument 10;
// with fewer it is argument 1 followed by "0". Unknown placeholders stay.
QString Fill(const QString& text, const QStringList& args);
// The numbers of the placeholders in a text, ascending, each once.
QList<int> Placeholders(const QString& text);

} // namespace LangArgs
