#include "window_test_support.h"

#include <QtWidgets/QApplication>
#include <cstdlib>

#include "window_resources.h"

namespace vtq::test {

QApplication& testApplication() {
  static int argc = 1;
  static char name[] = "editor_window_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    auto* created = new QApplication(argc, argv);
    initWindowResources();
    return created;
  }();
  return *app;
}

}  // namespace vtq::test
