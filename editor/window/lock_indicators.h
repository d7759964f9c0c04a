// The status line's CAP, NUM and SCRL panes: the keyboard's lock lights,
// read from the X server and polled, since Qt reports no lock state. On other
// platforms (and offscreen) they stay off.
#pragma once

#include <QtCore/QObject>
#include <QtCore/QTimer>

class QLabel;
class QStatusBar;

namespace vtq {

struct LockState {
  bool caps = false;
  bool num = false;
  bool scroll = false;
};

class LockIndicators : public QObject {
  Q_OBJECT

 public:
  // Adds the three panes to `statusBar` and starts polling.
  explicit LockIndicators(QStatusBar& statusBar);

  // The lights as the X server reports them; all off without X11.
  static LockState read();
  void show(LockState state);

 private:
  QLabel* caps_;
  QLabel* num_;
  QLabel* scroll_;
  QTimer poll_;
};

}  // namespace vtq
