// The command list: a table in the manner of a report list. One whole row is
// selected at a time and stays visible when the list loses the focus; Up,
// Down, Home, End, Page Up and Page Down move the selection by rows; a double
// click asks to play, never to edit; the background picture sits at the top
// left, not tiled.
#pragma once

#include <QtGui/QPixmap>
#include <QtWidgets/QTableView>
#include <optional>

namespace vtq {

class CommandListView : public QTableView {
  Q_OBJECT

 public:
  explicit CommandListView(QWidget* parent = nullptr);

  // The selected row, if any.
  std::optional<int> selectedRow() const;
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
