// The arithmetic of a printed command list, apart from any drawing: printed
// column widths, rows per page, the page count, and the date text.
//
//   printed width   = (longest text of the column in characters + 1) * w,
//                     w = width of "X" in the body font (0 for a hidden column)
//   usable height   = page height - (footer height + 4 + 10)
//   header block    = 4 * title height + 20
//   rows per page   = (usable - body height - header block - 10) / (body height + 6)
//   pages           = rows / rows per page + 1
#pragma once

#include <QtCore/QDateTime>
#include <QtCore/QString>
#include <vector>

namespace vtq {

struct PrintFontHeights {
  int title = 0;
  int body = 0;
  int footer = 0;
};

struct PrintLayout {
  std::vector<int> columnWidths;
  int headerBlock = 0;
  int rowsPerPage = 1;
  int pageCount = 1;
};

// `longestText[c]` is the length in characters of the longest text of column
// c (title included); `hidden[c]` tells a column of width 0 on screen.
PrintLayout computePrintLayout(const std::vector<int>& longestText, const std::vector<bool>& hidden, int xWidth,
                               PrintFontHeights heights, int pageHeight, int rowCount);

// How many columns, from the left, fit whole into `pageWidth`.
int fittingColumnCount(const std::vector<int>& columnWidths, int pageWidth);

// "dd/mm/yyyy  hh:mm:ss".
QString printDateText(const QDateTime& time);

}  // namespace vtq
