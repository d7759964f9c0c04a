#include "vocabulary_list.h"

#include <QtCore/QSignalBlocker>

namespace vtq {

VocabularyList::VocabularyList(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  connect(this, &QListWidget::itemSelectionChanged, this, [this] {
    if (const int id = selectedId(); id >= 0) emit idSelected(uint16_t(id));
  });
}

void VocabularyList::fill(Vocabulary table, uint32_t first, uint32_t last) {
  const QSignalBlocker quiet(this);
  clear();
  for (const VocabularyEntry& entry : vocabularyChoices(table, first, last)) {
    auto* item = new QListWidgetItem(QString::fromUtf8(entry.name), this);
    item->setData(Qt::UserRole, int(entry.id));
  }
}

void VocabularyList::showId(uint32_t id) {
  const QSignalBlocker quiet(this);
  for (int row = 0; row < count(); ++row) {
    if (item(row)->data(Qt::UserRole).toUInt() == id) {
      setCurrentRow(row);
      scrollToItem(item(row), QAbstractItemView::PositionAtCenter);
      return;
    }
  }
}

int VocabularyList::selectedId() const {
  const QList<QListWidgetItem*> selected = selectedItems();
  return selected.isEmpty() ? -1 : selected.front()->data(Qt::UserRole).toInt();
}

bool VocabularyList::selectName(const QString& name) {
  const QList<QListWidgetItem*> found = findItems(name, Qt::MatchExactly);
  if (found.isEmpty()) return false;
  setCurrentItem(found.front());
  return true;
}

}  // namespace vtq
