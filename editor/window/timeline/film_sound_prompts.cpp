#include "film_sound_prompts.h"

#include <QtWidgets/QDialog>
#include <QtWidgets/QDialogButtonBox>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QFormLayout>
#include <QtWidgets/QInputDialog>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPushButton>

#include "window/time_code_edit.h"

namespace vtq {

QString FilmSoundDialogs::filmSoundName(const QString& folder) {
  QFileDialog dialog(parent_, QStringLiteral("Open Film Sound"), folder,
                     QStringLiteral("Wave Files (*.wav *.WAV);;All Files (*)"));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

std::optional<CSMPTETime> FilmSoundDialogs::filmSoundStart(CSMPTETime current, CSMPTETime own) {
  QDialog dialog(parent_);
  dialog.setWindowTitle(QStringLiteral("Film Sound Start"));
  auto* layout = new QFormLayout(&dialog);
  auto* edit = new CTimeCodeEdit(&dialog);
  edit->setValue(current);
  layout->addRow(QStringLiteral("Time code of the first sample:"), edit);
  layout->addRow(
      new QLabel(QStringLiteral("The file's own start: %1").arg(QString::fromStdString(own.text())), &dialog));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QPushButton* reset = buttons->addButton(QStringLiteral("Use the File's Start"), QDialogButtonBox::ResetRole);
  QObject::connect(reset, &QPushButton::clicked, edit, [edit, own] { edit->setValue(own); });
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  layout->addRow(buttons);
  edit->setFocus();
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return edit->value();
}

std::optional<int> FilmSoundDialogs::cueVolume(int percent) {
  bool ok = false;
  const int value =
      QInputDialog::getInt(parent_, QStringLiteral("Cue Volume"),
                           QStringLiteral("Volume of the cue track in playback (%):"), percent, 0, 200, 5, &ok);
  return ok ? std::optional<int>(value) : std::nullopt;
}

}  // namespace vtq
