#include "cue_mix.h"

#include <algorithm>
#include <cmath>

#include "cue_transmission.h"
#include "document.h"

namespace vtq {

CueMix::CueMix(const CQuorlinVTQEditorDoc& document, uint32_t filmRate, CSMPTETime filmStart)
    : documentRate_(uint32_t(document.sampleRate())), filmRate_(filmRate) {
  const double perFrame = double(filmRate) / CSMPTETime::kFramesPerSecond;
  for (const auto& command : document.commands()) {
    Placed placed;
    placed.start = double(int64_t(command->insertTime().frameCount()) - filmStart.frameCount()) * perFrame;
    placed.length = double(command->TransmissionLength().frameCount()) * perFrame;
    placed.command = command->cloneWhole();
    placed_.push_back(std::move(placed));
  }
}

void CueMix::addTo(uint64_t first, std::span<float> out, float gain) {
  if (documentRate_ != 44100 && documentRate_ != 48000) return;
  const double from = double(first), to = double(first + out.size());
  for (Placed& placed : placed_) {
    if (placed.start < to && placed.start + placed.length > from) addPlaced(placed, first, out, gain);
  }
}

void CueMix::addPlaced(Placed& placed, uint64_t first, std::span<float> out, float gain) {
  if (!placed.made) {
    placed.samples = transmissionSamples(*placed.command, documentRate_);
    placed.made = true;
  }
  const std::vector<int16_t>& s = placed.samples;
  const double step = double(documentRate_) / filmRate_;
  const float scale = gain / 32768.0f;
  for (size_t i = 0; i < out.size(); ++i) {
    // Linear interpolation between the document-rate samples around the point.
    const double at = (double(first + i) - placed.start) * step;
    if (at < 0) continue;
    const size_t k = size_t(at);
    if (k + 1 >= s.size()) break;
    const double part = at - double(k);
    out[i] += float((1 - part) * s[k] + part * s[k + 1]) * scale;
  }
}

}  // namespace vtq
