#include "help_dlg.h"

#include <QtGui/QIcon>
#include <QtWidgets/QTextBrowser>
#include <QtWidgets/QVBoxLayout>

#include "window_resources.h"

namespace vtq {

CHelpDlg::CHelpDlg(QWidget* frame) : QDialog(frame), browser_(new QTextBrowser(this)) {
  setWindowTitle(QString::fromUtf8(kHelpTitle));
  setWindowIcon(QIcon(QString::fromUtf8(kProgramIconPath)));
  setModal(false);
  setAttribute(Qt::WA_DeleteOnClose);
  setSizeGripEnabled(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser_);
  browser_->setOpenExternalLinks(true);
  browser_->setSource(QUrl(QString::fromUtf8(kManualUrl)));
  resize(480, 360);
}

}  // namespace vtq
