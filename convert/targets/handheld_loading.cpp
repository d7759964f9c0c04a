#include "convert/targets/handheld_loading.h"

#include "convert/conversion.h"

namespace voconv {

bool loadHandheldObjects(Conversion& c) {
  c.targetObjects.clear();
  return false;
}

}  // namespace voconv
