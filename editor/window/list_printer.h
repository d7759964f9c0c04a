// Prints the command list as a table: a boxed header with the document
// title, the column titles, one line per command, and a boxed footer with the
// page number and the time the job started. One painting path serves the
// printer, the print preview and PDF files.
#pragma once

#include <QtCore/QDateTime>
#include <QtCore/QStringList>
#include <QtGui/QFont>
#include <vector>

#include "print_layout.h"

class QAbstractItemModel;
class QPainter;
class QPaintDevice;
class QPagedPaintDevice;

namespace vtq {

class CListPrinter {
 public:
  // Before the print dialog: copies the title and every text of `model`
  // (column titles and rows), notes which columns are hidden on screen
  // (width 0 in `screenWidths`) and takes the local date and time.
  void prepare(const QString& title, const QAbstractItemModel& model, const std::vector<int>& screenWidths,
               const QDateTime& jobStart = QDateTime::currentDateTime());

  // With the device known: fonts scaled from 10 screen pixels by the
  // device's vertical resolution over `screenDpiY`, column widths and the page
  // count. False when a font cannot be made.
  bool begin(const QPaintDevice& device, int screenDpiY);

  // Prints every page onto `device`, starting a new page between pages.
  bool print(QPagedPaintDevice& device, int screenDpiY);
  // Prints page `page` (from 1) with `painter` on a page of `pageSize`.
  void printPage(QPainter& painter, int page, QSize pageSize) const;

  const PrintLayout& layout() const { return layout_; }
  PrintFontHeights fontHeights() const { return heights_; }
  const QFont& bodyFont() const { return bodyFont_; }

 private:
  int printHeader(QPainter& painter, int width) const;
  int printColumnTitles(QPainter& painter, int y, int width) const;
  int printFooter(QPainter& painter, int page, QSize pageSize) const;
  void printRows(QPainter& painter, int page, int y, int bottom, int width) const;
  void printCells(QPainter& painter, const QStringList& texts, int y, int separatorReach, int width) const;

  QString title_;
  QStringList columnTitles_;
  std::vector<QStringList> rows_;
  std::vector<bool> hidden_;
  QDateTime jobStart_;
  QFont titleFont_;
  QFont bodyFont_;
  QFont footerFont_;
  PrintFontHeights heights_;
  PrintLayout layout_;
};

}  // namespace vtq
