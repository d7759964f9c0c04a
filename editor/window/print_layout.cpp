#include "print_layout.h"

#include <algorithm>

namespace vtq {

PrintLayout computePrintLayout(const std::vector<int>& longestText, const std::vector<bool>& hidden, int xWidth,
                               PrintFontHeights heights, int pageHeight, int rowCount) {
  PrintLayout layout;
  for (size_t c = 0; c < longestText.size(); ++c) {
    layout.columnWidths.push_back(c < hidden.size() && hidden[c] ? 0 : (longestText[c] + 1) * xWidth);
  }
  const int usable = pageHeight - (heights.footer + 4 + 10);
  layout.headerBlock = 4 * heights.title + 20;
  // A page too small for one row still prints one row per page rather than
  // dividing by zero.
  layout.rowsPerPage = std::max(1, (usable - heights.body - layout.headerBlock - 10) / (heights.body + 6));
  layout.pageCount = rowCount / layout.rowsPerPage + 1;
  return layout;
}

int fittingColumnCount(const std::vector<int>& columnWidths, int pageWidth) {
  int x = 0;
  int count = 0;
  for (const int width : columnWidths) {
    if (x + width > pageWidth) break;
    x += width;
    ++count;
  }
  return count;
}

QString printDateText(const QDateTime& time) {
  const QDate d = time.date();
  const QTime t = time.time();
  return QString::asprintf("%02d/%02d/%04d  %02d:%02d:%02d", d.day(), d.month(), d.year(), t.hour(), t.minute(),
                           t.second());
}

}  // namespace vtq
