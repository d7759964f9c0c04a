#include "about_dlg.h"

#include <QtGui/QIcon>
#include <QtWidgets/QDialogButtonBox>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QVBoxLayout>

#include "window_resources.h"

namespace vtq {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("About Quorlin VTQ Editor"));
  setModal(true);
  auto* icon = new QLabel(this);
  icon->setPixmap(QIcon(QString::fromUtf8(kProgramIconPath)).pixmap(32, 32));
  auto* row = new QHBoxLayout;
  row->addWidget(icon);
  row->addSpacing(12);
  row->addWidget(new QLabel(QString::fromUtf8(kAboutText), this), 1);
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addLayout(buttons);
  setFixedSize(sizeHint().expandedTo(QSize(300, 100)));
}

}  // namespace vtq
