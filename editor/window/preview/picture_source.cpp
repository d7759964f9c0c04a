#include "picture_source.h"

#include <QtCore/QFile>

#include "preview_resources.h"

namespace vtq {

std::optional<QByteArray> ResourcePictureSource::pictureData(uint16_t pictureId) const {
  initPreviewResources();
  QFile file(pictureResourcePath(pictureId));
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  return file.readAll();
}

}  // namespace vtq
