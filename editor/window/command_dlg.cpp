#include "command_dlg.h"

#include <QtGui/QWheelEvent>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QSpinBox>

#include "core/command.h"
#include "core/vocabulary.h"
#include "param_dialogs.h"
#include "time_code_edit.h"

namespace vtq {
namespace {

// A number field whose text cannot be typed into while its arrows still step.
class ReadOnlyNumberSpin : public QSpinBox {
 public:
  explicit ReadOnlyNumberSpin(QWidget* parent) : QSpinBox(parent) { lineEdit()->setReadOnly(true); }
};

template <typename W>
W* place(W* widget, int x, int y, int w, int h) {
  widget->setGeometry(x, y, w, h);
  return widget;
}

}  // namespace

CCommandDlg::CCommandDlg(CCommand& command, QWidget* parent) : QDialog(parent), command_(command) {
  setWindowTitle(QStringLiteral("Edit Command..."));
  setModal(true);
  setFixedSize(400, 432);
  buildTimeControls();
  buildCommandControls();
  fillFromCommand();
  connectEvents();
  // Typed digits go into the insert time; Enter and Alt+W still confirm.
  insert_->setFocus();
}

CCommandDlg::~CCommandDlg() {
  if (paramOpen_) closeParamDialog(command_.param(), paramArea_);
}

void CCommandDlg::buildTimeControls() {
  place(new QGroupBox(QStringLiteral("Time Codes - SMPTE 25 fps (ebu)"), this), 10, 8, 380, 118);
  place(new QLabel(QStringLiteral("Insert Time..."), this), 24, 32, 190, 24);
  insert_ = place(new CTimeCodeEdit(this), 224, 32, 120, 24);
  timed_ = place(new QCheckBox(QStringLiteral("Timed Response..."), this), 24, 62, 200, 24);
  place(new QLabel(QStringLiteral("Toy Response Time..."), this), 24, 92, 190, 24);
  response_ = place(new CTimeCodeEdit(this), 224, 92, 120, 24);
  place(new QLabel(QStringLiteral("Number of Retransmissions..."), this), 24, 136, 196, 24);
  retransmissions_ = place(new ReadOnlyNumberSpin(this), 224, 136, 60, 24);
  retransmissions_->setRange(0, 15);
}

void CCommandDlg::buildCommandControls() {
  place(new QGroupBox(QStringLiteral("Command"), this), 10, 166, 380, 214);
  commands_ = place(new QComboBox(this), 20, 188, 360, 26);
  for (const VocabularyEntry& entry : vocabularyChoices(Vocabulary::Command, 0, 255)) {
    commands_->addItem(QString::fromUtf8(entry.name), int(entry.id));
  }
  paramArea_ = new QWidget(this);
  paramArea_->setGeometry(QRect(kParamAreaPos, kParamAreaSize));
  confirm_ = place(new QPushButton(QStringLiteral("Create &Wave File"), this), 130, 392, 140, 28);
  cancel_ = place(new QPushButton(QStringLiteral("&Cancel"), this), 280, 392, 110, 28);
  confirm_->setDefault(true);
}

void CCommandDlg::fillFromCommand() {
  timed_->setChecked(command_.isTimed());
  response_->setEnabled(command_.isTimed());
  retransmissions_->setValue(command_.retransmissions());
  insert_->setValue(command_.insertTime());
  response_->setValue(command_.effectiveResponseTime());
  commands_->setCurrentIndex(commands_->findData(int(command_.commandCode())));
  openParamDialog(command_.param(), paramArea_);
  paramOpen_ = true;
}

bool CCommandDlg::eventFilter(QObject* watched, QEvent* event) {
  // The mouse wheel changes a time field, the retransmissions or the command
  // only once the user has put the focus there.
  if (event->type() == QEvent::Wheel) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget && !widget->hasFocus()) {
      event->ignore();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void CCommandDlg::connectEvents() {
  for (QWidget* control : std::initializer_list<QWidget*>{insert_, response_, retransmissions_, commands_}) {
    control->setFocusPolicy(Qt::StrongFocus);
    control->installEventFilter(this);
  }
  connect(timed_, &QCheckBox::toggled, this, &CCommandDlg::timedToggled);
  connect(commands_, &QComboBox::currentIndexChanged, this, &CCommandDlg::commandChosen);
  connect(insert_, &CTimeCodeEdit::editingFinished, this, &CCommandDlg::insertLeft);
  connect(response_, &CTimeCodeEdit::valueEdited, this, &CCommandDlg::responseEdited);
  connect(response_, &CTimeCodeEdit::editingFinished, this, &CCommandDlg::responseLeft);
  connect(retransmissions_, &QSpinBox::valueChanged, this,
          [this](int count) { command_.setRetransmissions(uint8_t(count)); });
  connect(confirm_, &QPushButton::clicked, this, &CCommandDlg::confirm);
  connect(cancel_, &QPushButton::clicked, this, &CCommandDlg::reject);
}

void CCommandDlg::refreshResponse() { response_->setValue(command_.effectiveResponseTime()); }

void CCommandDlg::timedToggled(bool checked) {
  response_->setEnabled(checked);
  command_.SetTimed(checked);
  refreshResponse();
}

void CCommandDlg::commandChosen(int index) {
  if (index < 0) return;
  closeParamDialog(command_.param(), paramArea_);
  command_.SetCommand(uint8_t(commands_->itemData(index).toInt()));
  openParamDialog(command_.param(), paramArea_);
}

void CCommandDlg::insertLeft() {
  command_.MoveStart(insert_->value());
  refreshResponse();
}

void CCommandDlg::responseEdited() {
  // The response time keeps the insert time's frame number.
  if (response_->value().frames() != command_.insertTime().frames()) refreshResponse();
  if (!command_.SetResponseTime(response_->value())) refreshResponse();
}

void CCommandDlg::responseLeft() {
  if (command_.isTimed() && !command_.SetResponseTime(response_->value())) refreshResponse();
}

void CCommandDlg::confirm() {
  // A field still holding the focus has not handed its value over yet.
  if (insert_->value() != command_.insertTime()) insertLeft();
  if (command_.isTimed() && response_->value() != command_.responseTime()) responseLeft();
  accept();
}

void CCommandDlg::done(int result) {
  if (paramOpen_) {
    closeParamDialog(command_.param(), paramArea_);
    paramOpen_ = false;
  }
  QDialog::done(result);
}

}  // namespace vtq
