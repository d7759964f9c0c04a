#include "param_dialogs.h"

#include <QtWidgets/QWidget>
#include <memory>

#include "core/param.h"
#include "params/ability_dlg.h"
#include "params/animation_dlg.h"
#include "params/play_sound_dlg.h"
#include "preview/picture_source.h"

namespace vtq {
namespace {

// The name by which closeParamDialog finds the dialog among the area's children.
constexpr const char* kDialogName = "parameterDialog";

QWidget* createDialog(CParam& param, QWidget* area) {
  switch (param.kind()) {
    case ParamKind::Ability: return new CAbilityDlg(static_cast<CAbility&>(param), area);
    case ParamKind::PlaySound: return new CPlaySoundDlg(static_cast<CPlaySound&>(param), area);
    case ParamKind::Animation:
      return new CAnimationDlg(static_cast<CAnimation&>(param), std::make_shared<ResourcePictureSource>(), area);
    case ParamKind::Plain: break;
  }
  return nullptr;
}

}  // namespace

void openParamDialog(CParam& param, QWidget* area) {
  closeParamDialog(param, area);
  QWidget* dialog = createDialog(param, area);
  if (!dialog) return;
  dialog->setObjectName(QString::fromLatin1(kDialogName));
  dialog->setGeometry(area->rect());
  dialog->show();
}

// Every change was written into the parameter when it was made, so closing
// only destroys the dialog (at once: the parameter may go right after).
void closeParamDialog(CParam&, QWidget* area) {
  if (!area) return;
  const auto dialogs = area->findChildren<QWidget*>(QString::fromLatin1(kDialogName), Qt::FindDirectChildrenOnly);
  for (QWidget* dialog : dialogs) delete dialog;
}

}  // namespace vtq
