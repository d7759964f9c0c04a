// A list of vocabulary names for the parameter dialogs: the non-empty names
// of an id range, sorted alphabetically, each carrying its id. Filling the
// list and showing an id reports nothing; a name the user selects is
// reported with its id.
#pragma once

#include <QtWidgets/QListWidget>
#include <cstdint>

#include "core/vocabulary.h"

namespace vtq {

class VocabularyList : public QListWidget {
  Q_OBJECT

 public:
  explicit VocabularyList(QWidget* parent = nullptr);

  void fill(Vocabulary table, uint32_t first, uint32_t last);
  // Selects the name of `id` when the list holds it.
  void showId(uint32_t id);
  // The id of the selected name, or -1.
  int selectedId() const;
  // Selects the entry with `name` as a user would (tests).
  bool selectName(const QString& name);

 signals:
  void idSelected(uint16_t id);
};

}  // namespace vtq
