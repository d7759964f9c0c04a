#include "command_list_view.h"

#include <algorithm>

#include <QtGui/QPainter>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QStyledItemDelegate>

#include "core/list_columns.h"

namespace vtq {
namespace {

// Rows are selected whole, so no single cell shows a focus frame.
class RowDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    option->state &= ~QStyle::State_HasFocus;
  }
};

}  // namespace

CommandListView::CommandListView(QWidget* parent) : QTableView(parent) {
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setShowGrid(false);
  setItemDelegate(new RowDelegate(this));
  setWordWrap(false);
  setContextMenuPolicy(Qt::CustomContextMenu);
  verticalHeader()->hide();
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setStretchLastSection(false);
  // The selection keeps its colours while another window has the focus.
  QPalette shades = palette();
  for (const auto role : {QPalette::Highlight, QPalette::HighlightedText}) {
    shades.setBrush(QPalette::Inactive, role, shades.brush(QPalette::Active, role));
  }
  setPalette(shades);
  connect(this, &QAbstractItemView::doubleClicked, this, &CommandListView::playRequested);
}

std::optional<int> CommandListView::selectedRow() const {
  const std::vector<int> rows = selectedRows();
  if (rows.empty()) return std::nullopt;
  const QModelIndex current = currentIndex();
  if (current.isValid() && selectionModel()->isRowSelected(current.row(), {})) return current.row();
  return rows.front();
}

std::vector<int> CommandListView::selectedRows() const {
  std::vector<int> rows;
  if (!selectionModel()) return rows;
  for (const QModelIndex& index : selectionModel()->selectedRows()) rows.push_back(index.row());
  std::sort(rows.begin(), rows.end());
  return rows;
}

void CommandListView::makeCurrent(int row) {
  if (!model() || row < 0 || row >= model()->rowCount()) return;
  const QModelIndex index = model()->index(row, 0);
  selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  scrollTo(index);
}

int CommandListView::applyColumnWidths() {
  const QFontMetrics metrics = horizontalHeader()->fontMetrics();
  int sum = 0;
  for (size_t c = 0; c < kListColumns.size(); ++c) {
    const int width = metrics.horizontalAdvance(QString::fromUtf8(kListColumns[c].title)) + kListColumns[c].margin;
    setColumnWidth(int(c), width);
    sum += width;
  }
  return sum;
}

QModelIndex CommandListView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
  // Home and End go to the first and last row, as in a report list (a table
  // would go to the first and last column).
  const int rows = model() ? model()->rowCount() : 0;
  if (rows > 0 && (action == MoveHome || action == MoveEnd)) {
    const int column = currentIndex().isValid() ? currentIndex().column() : 0;
    return model()->index(action == MoveHome ? 0 : rows - 1, column);
  }
  return QTableView::moveCursor(action, modifiers);
}

void CommandListView::paintEvent(QPaintEvent* event) {
  if (!background_.isNull()) {
    QPainter painter(viewport());
    painter.drawPixmap(0, 0, background_);
  }
  QTableView::paintEvent(event);
}

}  // namespace vtq
