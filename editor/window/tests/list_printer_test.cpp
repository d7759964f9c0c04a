// Printing the command list: the page arithmetic on a page of pinned size,
// worked out from the fonts' metrics, and a PDF read back with pdftotext.
#include "list_printer.h"

#include <gtest/gtest.h>

#include <QtCore/QProcess>
#include <QtCore/QRegularExpression>
#include <QtCore/QTemporaryDir>
#include <QtGui/QFontMetrics>
#include <QtGui/QPdfWriter>
#include <QtGui/QStandardItemModel>
#include <QtWidgets/QApplication>

#include "window_test_support.h"

namespace vtq {
namespace {

constexpr int kScreenDpi = 96;

// A list model of `rows` rows with texts of `cellChars` characters.
std::unique_ptr<QStandardItemModel> listModel(int rows, int columns, int cellChars) {
  auto model = std::make_unique<QStandardItemModel>(rows, columns);
  for (int c = 0; c < columns; ++c)
    model->setHorizontalHeaderItem(c, new QStandardItem(QStringLiteral("Col%1").arg(c)));
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < columns; ++c) model->setItem(r, c, new QStandardItem(QString(cellChars, QLatin1Char('a' + c))));
  }
  return model;
}

// A PDF page of 100 x 150 mm at 300 dpi without margins.
std::unique_ptr<QPdfWriter> pinnedPage(const QString& file) {
  auto writer = std::make_unique<QPdfWriter>(file);
  writer->setResolution(300);
  writer->setPageSize(QPageSize(QSizeF(100, 150), QPageSize::Millimeter));
  writer->setPageMargins(QMarginsF(0, 0, 0, 0));
  return writer;
}

TEST(ListPrinter, PageArithmeticFollowsTheFontMetrics) {
  test::testApplication();
  QTemporaryDir dir;
  struct Case {
    const char* name;
    int rows;
    int columns;
    int cellChars;
    int fittingColumns;
  };
  const Case cases[] = {
      {"empty list", 0, 3, 4, 3},
      {"several pages", 100, 3, 4, 3},
      {"a column too wide for the page", 5, 4, 4, 2},
  };
  for (const Case& c : cases) {
    auto model = listModel(c.rows, c.columns, c.cellChars);
    if (c.fittingColumns < c.columns) model->setItem(0, 2, new QStandardItem(QString(400, QLatin1Char('w'))));
    auto page = pinnedPage(dir.filePath(QStringLiteral("p.pdf")));
    CListPrinter printer;
    printer.prepare(QStringLiteral("scene.qtd"), *model, std::vector<int>(size_t(c.columns), 50));
    ASSERT_TRUE(printer.begin(*page, kScreenDpi));

    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(10 * 300 / kScreenDpi);
    const QFontMetrics metrics(arial, page.get());
    const int h = metrics.height();
    const int rowsPerPage = (page->height() - (h + 4 + 10) - h - (4 * h + 20) - 10) / (h + 6);
    EXPECT_EQ(printer.layout().rowsPerPage, rowsPerPage) << c.name;
    EXPECT_EQ(printer.layout().pageCount, c.rows / rowsPerPage + 1) << c.name;
    EXPECT_EQ(printer.layout().columnWidths[0], (c.cellChars + 1) * metrics.horizontalAdvance(QLatin1Char('X')))
        << c.name;
    EXPECT_EQ(fittingColumnCount(printer.layout().columnWidths, page->width()), c.fittingColumns) << c.name;
  }
}

TEST(ListPrinter, APdfShowsHeaderTitlesRowsAndFooter) {
  test::testApplication();
  QTemporaryDir dir;
  const QString pdf = dir.filePath(QStringLiteral("list.pdf"));
  auto model = listModel(2, 2, 5);
  {
    auto page = pinnedPage(pdf);
    CListPrinter printer;
    printer.prepare(QStringLiteral("scene.qtd"), *model, {60, 60}, QDateTime(QDate(2002, 3, 5), QTime(14, 7, 9)));
    ASSERT_TRUE(printer.print(*page, kScreenDpi));
  }
  QProcess pdftotext;
  pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
  ASSERT_TRUE(pdftotext.waitForFinished(20000)) << "pdftotext (poppler-utils) is needed";
  const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
  // pdftotext gives the spaces between words only approximately.
  for (const char* expected : {"scene\\.qtd", "Col0 +Col1", "aaaaa +bbbbb", "Page : 1", "05/03/2002 +14:07:09"}) {
    EXPECT_TRUE(text.contains(QRegularExpression(QString::fromUtf8(expected)))) << expected << "\n"
                                                                                << text.toStdString();
  }
  EXPECT_FALSE(text.contains(QStringLiteral("Page : 2")));
}

}  // namespace
}  // namespace vtq
