// Where the preview finds the GIF data of a picture id: the build's pictures
// in the program's resources, or whatever a test hands in.
#pragma once

#include <QtCore/QByteArray>
#include <cstdint>
#include <optional>

namespace vtq {

class PictureSource {
 public:
  virtual ~PictureSource() = default;
  // The GIF data of picture `pictureId`, or nothing when there is none.
  virtual std::optional<QByteArray> pictureData(uint16_t pictureId) const = 0;
};

// The pictures compiled into the program, one GIF per picture id.
class ResourcePictureSource : public PictureSource {
 public:
  std::optional<QByteArray> pictureData(uint16_t pictureId) const override;
};

}  // namespace vtq
