// Shared by the window tests: the application object the widgets need,
// created once per test program on Qt's offscreen platform.
#pragma once

class QApplication;

namespace vtq::test {

// Creates the application (offscreen unless QT_QPA_PLATFORM says otherwise)
// and registers the window's resources on the first call.
QApplication& testApplication();

}  // namespace vtq::test
