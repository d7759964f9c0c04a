#include "preview_resources.h"

#include <QtCore/qglobal.h>

// Q_INIT_RESOURCE declares its function in the enclosing scope, which must be
// the global namespace.
static bool registerPreviewResourceFiles() {
  Q_INIT_RESOURCE(pictures);
  Q_INIT_RESOURCE(sounds);
  return true;
}

namespace vtq {

QString pictureResourcePath(uint16_t pictureId) { return QStringLiteral(":/pictures/%1.gif").arg(pictureId); }

QString soundResourcePath(uint16_t soundId) { return QStringLiteral(":/sounds/%1.wav").arg(soundId); }

void initPreviewResources() { [[maybe_unused]] static const bool registered = registerPreviewResourceFiles(); }

}  // namespace vtq
