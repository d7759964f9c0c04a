#include "cue_track_dlg.h"

#include <QtGui/QFontDatabase>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QDialogButtonBox>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QFormLayout>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QSpinBox>
#include <QtWidgets/QVBoxLayout>

#include "time_code_edit.h"

namespace vtq {
namespace {

const QString kWaveFilter = QStringLiteral("Wave Files (*.wav)");

// A file field with "Browse..." that opens a save or an open dialog.
QWidget* fileRow(QLineEdit* field, QFileDialog::AcceptMode mode, const QString& title, QWidget* parent) {
  auto* row = new QWidget(parent);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* browse = new QPushButton(QStringLiteral("&Browse..."), row);
  layout->addWidget(field, 1);
  layout->addWidget(browse);
  QObject::connect(browse, &QPushButton::clicked, row, [field, mode, title, parent] {
    QFileDialog dialog(parent, title, field->text(), kWaveFilter);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("wav"));
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
      field->setText(dialog.selectedFiles().first());
  });
  return row;
}

// OK (enabled once a file is named) and Cancel.
void addButtons(QDialog* dialog, QLineEdit* file, QVBoxLayout* layout) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
  QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
  ok->setEnabled(!file->text().isEmpty());
  QObject::connect(file, &QLineEdit::textChanged, ok, [ok](const QString& text) { ok->setEnabled(!text.isEmpty()); });
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  layout->addWidget(buttons);
}

}  // namespace

CueTrackDlg::CueTrackDlg(const QString& suggested, QWidget* parent)
    : QDialog(parent),
      file_(new QLineEdit(suggested, this)),
      start_(new CTimeCodeEdit(this)),
      hasLength_(new QCheckBox(QStringLiteral("&Length:"), this)),
      length_(new CTimeCodeEdit(this)) {
  setWindowTitle(QStringLiteral("Render Cue Track"));
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("&Track:"), fileRow(file_, QFileDialog::AcceptSave, windowTitle(), this));
  form->addRow(QStringLiteral("&Start:"), start_);
  form->addRow(hasLength_, length_);
  length_->setEnabled(false);
  length_->setToolTip(QStringLiteral("Unchecked: up to the last transmission"));
  connect(hasLength_, &QCheckBox::toggled, length_, &QWidget::setEnabled);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  addButtons(this, file_, layout);
  resize(520, sizeHint().height());
}

CueTrackRequest CueTrackDlg::request() const {
  CueTrackRequest request{file_->text(), start_->value(), std::nullopt};
  if (hasLength_->isChecked()) request.length = length_->value();
  return request;
}

SoundTrackDlg::SoundTrackDlg(const CSMPTETime& start, QWidget* parent)
    : QDialog(parent), file_(new QLineEdit(this)), start_(new CTimeCodeEdit(this)), channel_(new QSpinBox(this)) {
  setWindowTitle(QStringLiteral("Check Sound Track"));
  start_->setValue(start);
  channel_->setRange(0, 0xFFFF);
  channel_->setSpecialValueText(QStringLiteral("All channels summed"));
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("&Mix:"), fileRow(file_, QFileDialog::AcceptOpen, windowTitle(), this));
  form->addRow(QStringLiteral("&Start of the mix:"), start_);
  form->addRow(QStringLiteral("&Channel:"), channel_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  addButtons(this, file_, layout);
  resize(520, sizeHint().height());
}

SoundTrackRequest SoundTrackDlg::request() const {
  SoundTrackRequest request{file_->text(), start_->value(), std::nullopt};
  if (channel_->value() > 0) request.channel = uint16_t(channel_->value());
  return request;
}

CheckReportDlg::CheckReportDlg(const QString& text, const QString& suggestedCsv, QWidget* parent)
    : QDialog(parent), suggestedCsv_(suggestedCsv) {
  setWindowTitle(QStringLiteral("Check Sound Track"));
  auto* view = new QPlainTextEdit(text, this);
  view->setReadOnly(true);
  view->setLineWrapMode(QPlainTextEdit::NoWrap);
  view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  QPushButton* save = buttons->addButton(QStringLiteral("&Save CSV..."), QDialogButtonBox::ActionRole);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(save, &QPushButton::clicked, this, [this] {
    QFileDialog dialog(this, QStringLiteral("Save Check Report"), suggestedCsv_, QStringLiteral("CSV Files (*.csv)"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    csvName_ = dialog.selectedFiles().first();
    accept();
  });
  // The summary (the last line) also stands above the lines, one part a
  // line, so that the speed and the count at risk show without scrolling.
  QString summary = text.section(QLatin1Char('\n'), -1);
  auto* heading = new QLabel(summary.replace(QStringLiteral("; "), QStringLiteral("\n")), this);
  heading->setTextInteractionFlags(Qt::TextSelectableByMouse);
  QFont bold = heading->font();
  bold.setBold(true);
  heading->setFont(bold);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(heading);
  layout->addWidget(view);
  layout->addWidget(buttons);
  resize(900, 520);
}

}  // namespace vtq
