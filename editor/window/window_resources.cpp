#include "window_resources.h"

#include <QtCore/qglobal.h>

// Q_INIT_RESOURCE declares its function in the enclosing scope, which must be
// the global namespace.
static void registerResourceFiles() {
  Q_INIT_RESOURCE(artwork);
  Q_INIT_RESOURCE(help);
}

namespace vtq {

void initWindowResources() { registerResourceFiles(); }

}  // namespace vtq
