// The about box: the program icon, the name and version, and OK.
#pragma once

#include <QtWidgets/QDialog>

namespace vtq {

inline constexpr const char* kAboutText = "Quorlin VTQ Editor Version 1.0";

class CAboutDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace vtq
