#include "list_printer.h"

#include <QtCore/QAbstractItemModel>
#include <QtGui/QFontMetrics>
#include <QtGui/QPagedPaintDevice>
#include <QtGui/QPainter>

namespace vtq {
namespace {

constexpr int kScreenCellHeight = 10;  // font cell height in screen pixels
constexpr int kTextInset = 4;

QFont arial(int pixelHeight) {
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(std::max(1, pixelHeight));
  font.setWeight(QFont::Normal);
  return font;
}

}  // namespace

void CListPrinter::prepare(const QString& title, const QAbstractItemModel& model, const std::vector<int>& screenWidths,
                           const QDateTime& jobStart) {
  title_ = title;
  jobStart_ = jobStart;
  columnTitles_.clear();
  rows_.clear();
  hidden_.clear();
  const int columns = model.columnCount();
  for (int c = 0; c < columns; ++c) {
    columnTitles_.append(model.headerData(c, Qt::Horizontal).toString());
    hidden_.push_back(size_t(c) < screenWidths.size() && screenWidths[size_t(c)] == 0);
  }
  rows_.reserve(size_t(model.rowCount()));
  for (int r = 0; r < model.rowCount(); ++r) {
    QStringList row;
    for (int c = 0; c < columns; ++c) row.append(model.data(model.index(r, c)).toString());
    rows_.push_back(row);
  }
}

bool CListPrinter::begin(const QPaintDevice& device, int screenDpiY) {
  const int height = kScreenCellHeight * device.logicalDpiY() / std::max(1, screenDpiY);
  titleFont_ = arial(height);
  bodyFont_ = arial(height);
  footerFont_ = arial(height);
  const QFontMetrics body(bodyFont_, &device);
  heights_ = {QFontMetrics(titleFont_, &device).height(), body.height(), QFontMetrics(footerFont_, &device).height()};
  if (heights_.body <= 0) return false;

  std::vector<int> longest;
  for (int c = 0; c < columnTitles_.size(); ++c) {
    int chars = int(columnTitles_[c].size());
    for (const QStringList& row : rows_) chars = std::max(chars, int(row[c].size()));
    longest.push_back(chars);
  }
  layout_ = computePrintLayout(longest, hidden_, body.horizontalAdvance(QLatin1Char('X')), heights_, device.height(),
                               int(rows_.size()));
  return true;
}

bool CListPrinter::print(QPagedPaintDevice& device, int screenDpiY) {
  if (!begin(device, screenDpiY)) return false;
  QPainter painter;
  if (!painter.begin(&device)) return false;
  const QSize pageSize(device.width(), device.height());
  for (int page = 1; page <= layout_.pageCount; ++page) {
    if (page > 1 && !device.newPage()) return false;
    printPage(painter, page, pageSize);
  }
  return painter.end();
}

void CListPrinter::printPage(QPainter& painter, int page, QSize pageSize) const {
  painter.save();
  painter.setPen(Qt::black);
  int y = printHeader(painter, pageSize.width());
  y = printColumnTitles(painter, y, pageSize.width());
  const int footerTop = printFooter(painter, page, pageSize);
  printRows(painter, page, y, footerTop - 10, pageSize.width());
  painter.restore();
}

int CListPrinter::printHeader(QPainter& painter, int width) const {
  // Line 1 and line 4 stay empty: the page number and the date are in the
  // footer. Lines 2 and 3 hold the title in a font of twice the height.
  const int h = heights_.title;
  const QRect box(0, 0, width - 1, 4 * h);
  QFont big = titleFont_;
  big.setPixelSize(titleFont_.pixelSize() * 2);
  painter.setFont(big);
  painter.drawText(QRect(0, h, width, 2 * h), Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine, title_);
  painter.drawRect(box);
  return 4 * h + 20;
}

void CListPrinter::printCells(QPainter& painter, const QStringList& texts, int y, int separatorReach, int width) const {
  const int cellHeight = heights_.body + 6;
  const int columns = fittingColumnCount(layout_.columnWidths, width);
  int x = 0;
  for (int c = 0; c < columns; ++c) {
    const int w = layout_.columnWidths[size_t(c)];
    if (c > 0) painter.drawLine(x - 2, y, x - 2, y + cellHeight + separatorReach);
    if (w > 2 * kTextInset) {
      const QRect cell(x + kTextInset, y, w - 2 * kTextInset, cellHeight);
      painter.drawText(cell, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, texts.value(c));
    }
    x += w;
  }
}

int CListPrinter::printColumnTitles(QPainter& painter, int y, int width) const {
  painter.setFont(bodyFont_);
  printCells(painter, columnTitles_, y, 10, width);
  const int under = y + heights_.body + 6;
  painter.fillRect(QRect(0, under, width, 3), Qt::black);
  return under + 10;
}

int CListPrinter::printFooter(QPainter& painter, int page, QSize pageSize) const {
  const int boxHeight = heights_.footer + 4;
  const int top = pageSize.height() - boxHeight;
  const int half = pageSize.width() / 2;
  painter.setFont(footerFont_);
  const int flags = Qt::AlignVCenter | Qt::TextSingleLine;
  painter.drawText(QRect(2, top, half - 2, boxHeight), flags | Qt::AlignLeft, QStringLiteral("Page : %1").arg(page));
  painter.drawText(QRect(half, top, pageSize.width() - half - 3, boxHeight), flags | Qt::AlignRight,
                   printDateText(jobStart_));
  painter.drawRect(QRect(0, top, pageSize.width() - 1, boxHeight - 1));
  return top;
}

void CListPrinter::printRows(QPainter& painter, int page, int y, int bottom, int width) const {
  painter.setFont(bodyFont_);
  const size_t first = size_t(page - 1) * size_t(layout_.rowsPerPage);
  const size_t end = std::min(rows_.size(), first + size_t(layout_.rowsPerPage));
  for (size_t r = first; r < end; ++r) {
    if (y + heights_.body + 6 > bottom) break;
    printCells(painter, rows_[r], y, 6, width);
    y += heights_.body + 6;
  }
}

}  // namespace vtq
