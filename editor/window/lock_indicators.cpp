#include "lock_indicators.h"

#include <QtGui/QGuiApplication>
#include <QtWidgets/QLabel>
#include <QtWidgets/QStatusBar>

// X11 last: its macros (None, Bool, Status) collide with Qt names.
#include <QtGui/qguiapplication_platform.h>
#include <X11/XKBlib.h>

namespace vtq {
namespace {

constexpr int kPollMs = 250;

QLabel* addPane(QStatusBar& statusBar, const char* text) {
  auto* label = new QLabel(&statusBar);
  label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  label->setAlignment(Qt::AlignCenter);
  label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QString::fromUtf8(text)) + 12);
  label->setProperty("paneText", QString::fromUtf8(text));
  statusBar.addPermanentWidget(label);
  return label;
}

bool namedIndicator(Display* display, const char* name) {
  const Atom atom = XInternAtom(display, name, True);
  Bool on = False;
  if (atom == 0 || !XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr)) return false;
  return on;
}

}  // namespace

LockIndicators::LockIndicators(QStatusBar& statusBar)
    : QObject(&statusBar),
      caps_(addPane(statusBar, "CAP")),
      num_(addPane(statusBar, "NUM")),
      scroll_(addPane(statusBar, "SCRL")) {
  connect(&poll_, &QTimer::timeout, this, [this] { show(read()); });
  poll_.start(kPollMs);
  show(read());
}

LockState LockIndicators::read() {
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  Display* display = x11 ? x11->display() : nullptr;
  if (!display) return {};
  return {namedIndicator(display, "Caps Lock"), namedIndicator(display, "Num Lock"),
          namedIndicator(display, "Scroll Lock")};
}

void LockIndicators::show(LockState state) {
  // A pane shows its text only while its light is on, as status lines do.
  const auto set = [](QLabel* label, bool on) {
    label->setText(on ? label->property("paneText").toString() : QString());
  };
  set(caps_, state.caps);
  set(num_, state.num);
  set(scroll_, state.scroll);
}

}  // namespace vtq
