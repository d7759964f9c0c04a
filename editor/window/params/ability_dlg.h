// The dialog of an ability parameter: the ability names of ids 1 to 255;
// selecting one sets the ability id.
#pragma once

#include <QtWidgets/QWidget>

namespace vtq {

class CAbility;
class VocabularyList;

class CAbilityDlg : public QWidget {
  Q_OBJECT

 public:
  CAbilityDlg(CAbility& param, QWidget* parent = nullptr);

  VocabularyList* list() const { return list_; }

 private:
  VocabularyList* list_;
};

}  // namespace vtq
