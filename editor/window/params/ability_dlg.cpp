#include "ability_dlg.h"

#include <QtWidgets/QLabel>
#include <QtWidgets/QVBoxLayout>

#include "core/param.h"
#include "vocabulary_list.h"

namespace vtq {

// Id 0 ("AB_IDLE") is the toy's state without an ability and is not
// offered; the current ability is not preselected.
CAbilityDlg::CAbilityDlg(CAbility& param, QWidget* parent) : QWidget(parent), list_(new VocabularyList(this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(new QLabel(QStringLiteral("Select ability..."), this));
  layout->addWidget(list_);
  list_->fill(Vocabulary::Ability, 1, 255);
  connect(list_, &VocabularyList::idSelected, this, [&param](uint16_t id) { param.abilityId = uint8_t(id); });
}

}  // namespace vtq
