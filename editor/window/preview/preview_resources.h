// The build's pictures and sounds, compiled in as Qt resources: one GIF per
// picture id, one wave file per sound or voice id.
#pragma once

#include <QtCore/QString>
#include <cstdint>

namespace vtq {

QString pictureResourcePath(uint16_t pictureId);  // ":/pictures/<id>.gif"
QString soundResourcePath(uint16_t soundId);      // ":/sounds/<id>.wav"

// Registers the picture and sound resources (a static library would
// otherwise drop them at link time). Safe to call any number of times.
void initPreviewResources();

}  // namespace vtq
