// The help window: the quick start manual in a browser that fills the window.
// Modeless and a child of the frame, so it closes with the program.
#pragma once

#include <QtWidgets/QDialog>

class QTextBrowser;

namespace vtq {

inline constexpr const char* kHelpTitle = "Quorlin VQT Editor Help";

class CHelpDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CHelpDlg(QWidget* frame);

  QTextBrowser* browser() const { return browser_; }

 private:
  QTextBrowser* browser_;
};

}  // namespace vtq
