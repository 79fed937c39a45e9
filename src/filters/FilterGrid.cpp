#include "filters/FilterGrid.h"

namespace filters {

int OperatorCount(int row) {
    static constexpr int counts[RowCount] = {3, 3, 3, 5, 2, 6, 6, 5, 4, 4, 4};
    return row >= 0 && row < RowCount ? counts[row] : 0;
}

FilterGrid FilterGrid::reset(const QDateTime& now) {
    FilterGrid g;
    for (FilterRow& r : g.rows) {
        r.from = now;
        r.until = now;
    }
    return g;
}

} // namespace filters
