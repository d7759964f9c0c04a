#include "convert/targets/handheld/gb_image.h"

namespace voconv {

std::optional<SamplePlacement> placeSamples(std::span<const size_t> sizes, GameBoyVariant variant,
                                            common::Output& out) {
  SamplePlacement placement;
  placement.offsets.reserve(sizes.size());
  for (size_t i = 0; i < sizes.size(); ++i) {
    if (sizes[i] > kGameBoyImageBytes - placement.end) {
      out.print("*** ERROR: Project & Sample data exceed 8MB!\n");
      return std::nullopt;
    }
    const uint32_t bank = bankedAddress(placement.end, variant).bank;
    if (bank > kGameBoyMaxBankNumber) {
      out.print("*** ERROR: Sample %zu would start in bank %u; the sample directory names banks up to %u only!\n", i,
                bank, kGameBoyMaxBankNumber);
      return std::nullopt;
    }
    placement.offsets.push_back(placement.end);
    placement.end += uint32_t(sizes[i]);
  }
  return placement;
}

}  // namespace voconv
