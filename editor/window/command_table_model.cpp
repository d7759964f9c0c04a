#include "command_table_model.h"

#include "core/list_columns.h"

namespace vtq {

CommandTableModel::CommandTableModel(CQuorlinVTQEditorDoc& document, QObject* parent)
    : QAbstractTableModel(parent), document_(document) {
  document_.setObserver(this);
}

CommandTableModel::~CommandTableModel() { document_.setObserver(nullptr); }

int CommandTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(document_.commandCount());
}

int CommandTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(kListColumns.size());
}

QVariant CommandTableModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid()) return {};
  const CCommand* command = document_.commandAt(size_t(index.row()));
  if (!command) return {};
  return QString::fromStdString(columnText(*command, size_t(index.column())));
}

QVariant CommandTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || size_t(section) >= kListColumns.size()) return {};
  if (role == Qt::DisplayRole) return QString::fromUtf8(kListColumns[size_t(section)].title);
  if (role == Qt::TextAlignmentRole) return int(Qt::AlignLeft | Qt::AlignVCenter);
  return {};
}

void CommandTableModel::documentChanged() {
  if (rowCount() == 0) return;
  emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

void CommandTableModel::aboutToInsert(size_t row) { beginInsertRows({}, int(row), int(row)); }
void CommandTableModel::inserted(size_t) { endInsertRows(); }
void CommandTableModel::aboutToRemove(size_t row) { beginRemoveRows({}, int(row), int(row)); }
void CommandTableModel::removed(size_t) { endRemoveRows(); }

void CommandTableModel::aboutToMove(size_t from, size_t to) {
  // Qt names the row before which the moved row goes, counted before the
  // move; the document names the row it has after the move.
  const int before = to > from ? int(to) + 1 : int(to);
  beginMoveRows({}, int(from), int(from), {}, before);
}

void CommandTableModel::moved(size_t, size_t) { endMoveRows(); }

void CommandTableModel::changed(size_t row) {
  emit dataChanged(index(int(row), 0), index(int(row), columnCount() - 1));
}

void CommandTableModel::aboutToReset() { beginResetModel(); }
void CommandTableModel::reset() { endResetModel(); }

}  // namespace vtq
