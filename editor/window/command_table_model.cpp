#include "command_table_model.h"

#include "core/document.h"
#include "core/list_columns.h"

namespace vtq {

CommandTableModel::CommandTableModel(const CQuorlinVTQEditorDoc& document, QObject* parent)
    : QAbstractTableModel(parent), document_(document) {}

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
  beginResetModel();
  endResetModel();
}

}  // namespace vtq
