#include "time_dialogs.h"

#include <QtWidgets/QComboBox>
#include <QtWidgets/QDialogButtonBox>
#include <QtWidgets/QFormLayout>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QRadioButton>
#include <QtWidgets/QVBoxLayout>

#include "time_code_edit.h"

namespace vtq {
namespace {

QDialogButtonBox* okCancel(QDialog* dialog) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return buttons;
}

}  // namespace

ShiftTimesDlg::ShiftTimesDlg(const ShiftRequest& proposal, int selectionCount, QWidget* parent)
    : QDialog(parent),
      direction_(new QComboBox(this)),
      amount_(new CTimeCodeEdit(this)),
      selection_(new QRadioButton(this)),
      fromFirst_(new QRadioButton(QStringLiteral("Every command from the &first selected one on"), this)) {
  setWindowTitle(QStringLiteral("Shift Times"));
  direction_->addItem(QStringLiteral("+ later"), 1);
  direction_->addItem(QStringLiteral("\u2212 earlier"), -1);
  direction_->setCurrentIndex(proposal.frames < 0 ? 1 : 0);
  const int64_t magnitude = proposal.frames < 0 ? -proposal.frames : proposal.frames;
  amount_->setValue(CSMPTETime(uint32_t(magnitude % CSMPTETime::kFramesPerDay)));
  amount_->setMinimumWidth(120);
  selection_->setText(selectionCount == 1 ? QStringLiteral("The &selected command")
                                          : QStringLiteral("The %1 &selected commands").arg(selectionCount));
  (proposal.scope == ShiftScope::Selection ? selection_ : fromFirst_)->setChecked(true);

  auto* by = new QHBoxLayout;
  auto* byLabel = new QLabel(QStringLiteral("Shift &by (hh:mm:ss:ff):"), this);
  byLabel->setBuddy(amount_);
  by->addWidget(byLabel);
  by->addWidget(direction_);
  by->addWidget(amount_);
  by->addStretch();
  auto* which = new QGroupBox(QStringLiteral("Commands"), this);
  auto* whichLayout = new QVBoxLayout(which);
  whichLayout->addWidget(selection_);
  whichLayout->addWidget(fromFirst_);
  auto* note = new QLabel(QStringLiteral("Timed commands keep their response offset. Wave files are written "
                                         "under the new times; the old files stay."),
                          this);
  note->setWordWrap(true);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(by);
  layout->addWidget(which);
  layout->addWidget(note);
  layout->addWidget(okCancel(this));
  amount_->setFocus();
}

ShiftRequest ShiftTimesDlg::request() const {
  const int64_t sign = direction_->currentData().toInt();
  return {sign * amount_->value().frameCount(),
          selection_->isChecked() ? ShiftScope::Selection : ShiftScope::FromFirstSelected};
}

GoToTimeDlg::GoToTimeDlg(CSMPTETime start, QWidget* parent) : QDialog(parent), time_(new CTimeCodeEdit(this)) {
  setWindowTitle(QStringLiteral("Go to Time"));
  time_->setValue(start);
  time_->setMinimumWidth(120);
  auto* form = new QFormLayout;
  auto* label = new QLabel(QStringLiteral("&Time (hh:mm:ss:ff):"), this);
  label->setBuddy(time_);
  form->addRow(label, time_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(okCancel(this));
  time_->setFocus();
}

CSMPTETime GoToTimeDlg::time() const { return time_->value(); }

}  // namespace vtq
