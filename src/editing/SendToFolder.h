#pragma once
// The questions of "Send to Folder/Disk": an optional subfolder named after a
// tree node, the target folder, and the pairs to copy into it.
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace SendToFolder {

// Asks through the Dialogs seam and answers the target folder with a trailing
// "/", created when a subfolder was accepted; "" when the user chose no folder
// or the target does not exist (which has then been said).
QString ChooseTarget(const QString& subfolder);

// source -> target + the source's file name, in the given order.
QList<QPair<QString, QString>> Pairs(const QString& target, const QStringList& sources);

} // namespace SendToFolder
