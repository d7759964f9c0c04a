// The command list: a table in the manner of a report list. Whole rows are
// selected (several with Shift, Ctrl and Ctrl+A) and stay visible when the
// list loses the focus; Up, Down, Home, End, Page Up and Page Down move the
// current row; a double click asks to play, never to edit; the background
// picture sits at the top left, not tiled.
#pragma once

#include <QtGui/QPixmap>
#include <QtWidgets/QTableView>
#include <optional>
#include <vector>

namespace vtq {

class CommandListView : public QTableView {
  Q_OBJECT

 public:
  explicit CommandListView(QWidget* parent = nullptr);

  // The row Edit and Play act on: the current row when it is selected, else
  // the first selected row; none without a selection.
  std::optional<int> selectedRow() const;
  // Every selected row, in ascending order.
  std::vector<int> selectedRows() const;
  // Makes `row` current and the only selected row, and scrolls it into view.
  void makeCurrent(int row);
  // Each column as wide as its title plus the column's margin; returns the
  // sum of the widths.
  int applyColumnWidths();
  void setBackgroundPicture(const QPixmap& picture) { background_ = picture; }

 signals:
  void playRequested();

 protected:
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  QPixmap background_;
};

}  // namespace vtq
