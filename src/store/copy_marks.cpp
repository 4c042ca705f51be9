#include "store/copy_marks.h"

namespace tessera {

// A number that cannot be read counts as 0: a password is never kept for want of reading its
// mark.
bool MarkedNotForHistory(const ClipboardMarks& marks) {
    if (marks.Holds(kExcludeFromMonitorFormat) || marks.Holds(kViewerIgnoreFormat)) return true;
    return marks.Holds(kCanIncludeInHistoryFormat) && marks.Number(kCanIncludeInHistoryFormat).value_or(0) == 0;
}

}  // namespace tessera
