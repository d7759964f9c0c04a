// The document's commands as the rows of a table: one row per command, the
// eight list columns, texts as the list shows them. The model only reads the
// document; every change of the document is announced as a reset.
#pragma once

#include <QtCore/QAbstractTableModel>

namespace vtq {

class CQuorlinVTQEditorDoc;

class CommandTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit CommandTableModel(const CQuorlinVTQEditorDoc& document, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

  // The document changed: every row is shown again and no row stays selected.
  void documentChanged();

 private:
  const CQuorlinVTQEditorDoc& document_;
};

}  // namespace vtq
