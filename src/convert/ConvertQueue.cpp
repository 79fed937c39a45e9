#include "convert/ConvertQueue.h"
#include "core/FileNameCodec.h"

#include <QDir>
#include <QFileInfo>

#include <sys/stat.h>

namespace convert {

namespace {

// Two spellings of one path ("a//b", "./b") name the same file; letter case
// does not fold, as the file system tells such names apart.
QString sameFileKey(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

ConvertItem ConvertQueue::MakeItem(const QString& path) {
    ConvertItem item;
    item.FullPath = path;
    const int cut = static_cast<int>(path.lastIndexOf(QLatin1Char('/')));
    item.Folder = path.left(cut + 1);
    item.FileName = path.mid(cut + 1);
    const int dot = static_cast<int>(item.FileName.lastIndexOf(QLatin1Char('.')));
    item.Title = dot < 0 ? item.FileName : item.FileName.left(dot);
    return item;
}

bool ConvertQueue::AddFile(const QString& path) {
    struct stat st;
    if (path.isEmpty() || ::stat(FileNameCodec::encode(path).constData(), &st) != 0 ||
        !S_ISREG(st.st_mode))
        return false;
    const QString key = sameFileKey(path);
    for (const ConvertItem& item : m_items)
        if (sameFileKey(item.FullPath) == key) return false;
    m_items.append(MakeItem(path));
    return true;
}

QString FormatText(int format) {
    switch (format) {
    case TargetWma:
        return QStringLiteral("WMA");
    case TargetWav:
        return QStringLiteral("WAV");
    default:
        return QStringLiteral("MP3");
    }
}

int FormatOfText(const QString& text) {
    for (int f : {TargetMp3, TargetWma, TargetWav})
        if (text.compare(FormatText(f), Qt::CaseInsensitive) == 0) return f;
    return -1;
}

QString StateWord(RowState state) {
    switch (state) {
    case RowState::Ready:
        return QStringLiteral("ready");
    case RowState::Decoding:
        return QStringLiteral("decoding");
    case RowState::Encoding:
        return QStringLiteral("encoding");
    case RowState::Completed:
        return QStringLiteral("completed");
    case RowState::Failed:
        return QStringLiteral("failed");
    case RowState::Canceled:
        return QStringLiteral("canceled");
    }
    return QString();
}

int StateColor(RowState state) {
    switch (state) {
    case RowState::Ready:
        return -1;
    case RowState::Decoding:
        return 0x006400;
    case RowState::Encoding:
        return 0x000064;
    case RowState::Completed:
        return 0x404040;
    case RowState::Failed:
    case RowState::Canceled:
        return 0xFF0000;
    }
    return -1;
}

QString SourceType(const QString& path) {
    return path.right(3).toUpper();
}

bool NeedsDecodeStep(const QString& source, int format) {
    const QString type = SourceType(source);
    return format == TargetMp3 && (type == QLatin1String("MP3") || type == QLatin1String("WMA"));
}

QList<ConvertRow> PlanRows(const QList<ConvertItem>& items, const ConvertOptions& options) {
    QList<ConvertRow> rows;
    const QString extension = QLatin1Char('.') + FormatText(options.format).toLower();
    QString folder = options.targetFolder;
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    for (const ConvertItem& item : items) {
        ConvertRow row;
        row.source = item.FullPath;
        // A source name that is not UTF-8 gives a target name that is, with
        // U+FFFD where its odd bytes were.
        row.targetName = (options.targetName.isEmpty() ? FileNameCodec::displayText(item.Title)
                                                       : options.targetName) +
                         extension;
        row.target = (folder.isEmpty() ? item.Folder : folder) + row.targetName;
        rows.append(row);
    }
    return rows;
}

int CountSteps(const QList<ConvertRow>& rows, int format) {
    int steps = 0;
    for (const ConvertRow& row : rows)
        steps += NeedsDecodeStep(row.source, format) ? 2 : 1;
    return steps;
}

} // namespace convert
