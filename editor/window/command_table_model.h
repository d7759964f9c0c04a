// The document's commands as the rows of a table: one row per command, the
// eight list columns, texts as the list shows them. The model only reads the
// document; it watches the document's row steps and announces each insert,
// removal, move and change as such, so that a selection model shared by
// several views keeps its rows through every change. Only a new list (New,
// Open, Reload) is announced as a reset.
#pragma once

#include <QtCore/QAbstractTableModel>

#include "core/document.h"

namespace vtq {

class CommandTableModel : public QAbstractTableModel, private DocumentObserver {
  Q_OBJECT

 public:
  // Watches `document` until the model is destroyed.
  explicit CommandTableModel(CQuorlinVTQEditorDoc& document, QObject* parent = nullptr);
  ~CommandTableModel() override;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

  // Every row's texts are shown again (rows and selection stay).
  void documentChanged();

 private:
  void aboutToInsert(size_t row) override;
  void inserted(size_t row) override;
  void aboutToRemove(size_t row) override;
  void removed(size_t row) override;
  void aboutToMove(size_t from, size_t to) override;
  void moved(size_t from, size_t to) override;
  void changed(size_t row) override;
  void aboutToReset() override;
  void reset() override;

  CQuorlinVTQEditorDoc& document_;
};

}  // namespace vtq
