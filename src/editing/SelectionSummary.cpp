#include "editing/SelectionSummary.h"

#include "components/MediaLibrary.h"
#include "core/Formatting.h"
#include "core/PathHelpers.h"
#include "editing/PropsView.h"

#include <cmath>

namespace props {

namespace {

qint64 units(const QVariant& value) {
    return value.isValid() ? std::llround(value.toDouble() * 10000.0) : 0;
}

} // namespace

SelectionSummary Summarize(MediaLibrary& library, const QList<SelectedFile>& files,
                           const QLocale& locale) {
    SelectionSummary s;
    for (const SelectedFile& f : files) {
        ++s.count;
        s.sizeUnits += units(library.GetFileField(f.id, FileField::Size));
        s.durationUnits += units(library.GetFileField(f.id, FileField::Duration));
        const QString longPath = mainMod::LongPath(f.fullPath);
        s.paths << (longPath.isEmpty() ? f.fullPath : longPath);
    }
    const double bytes = static_cast<double>(s.sizeUnits) / 10000.0;
    s.info << QString::number(s.count) << GroupedSizeText(bytes, locale)
           << mainMod::FormatDuration(static_cast<double>(s.durationUnits) / 10000.0);
    return s;
}

} // namespace props
