#include "pulse_filter.h"

#include <array>
#include <cmath>
#include <complex>
#include <cstring>
#include <numbers>
#include <span>

#include "pulse_tables.h"

namespace vtq {
namespace {

constexpr size_t kLanes = 8;
constexpr size_t kTransformSize = 256;  // the pulse padded with silence, so its spectrum is band-limited

std::span<const int16_t> pulseFor(uint32_t rate) {
  if (rate == 44100) return kPulse44100;
  return kPulse48000;
}

// The analytic pulse (the pulse plus j times its Hilbert transform) at the
// times t = m * documentRate / mixRate, in the document's samples: the
// positive half of its spectrum summed at those times.
constexpr size_t kHalf = kTransformSize / 2;

std::vector<std::complex<double>> positiveSpectrum(uint32_t documentRate) {
  const std::span<const int16_t> pulse = pulseFor(documentRate);
  std::vector<std::complex<double>> spectrum(kHalf + 1);
  for (size_t k = 0; k <= kHalf; ++k) {
    for (size_t n = 0; n < pulse.size(); ++n)
      spectrum[k] += double(pulse[n]) * std::polar(1.0, -2 * std::numbers::pi * double(k * n) / kTransformSize);
    if (k != 0 && k != kHalf) spectrum[k] *= 2.0;
  }
  return spectrum;
}

std::vector<std::complex<double>> analyticPulse(const std::vector<std::complex<double>>& spectrum,
                                                uint32_t documentRate, uint32_t mixRate, double speed) {
  const std::span<const int16_t> pulse = pulseFor(documentRate);
  const double step = double(documentRate) / mixRate * speed;
  const size_t taps = size_t(std::ceil(double(pulse.size()) / step));
  std::vector<std::complex<double>> analytic(taps);
  for (size_t m = 0; m < taps; ++m) {
    const double t = double(m) * step;
    for (size_t k = 0; k <= kHalf; ++k)
      analytic[m] += spectrum[k] * std::polar(1.0, 2 * std::numbers::pi * double(k) * t / kTransformSize);
    analytic[m] /= double(kTransformSize);
  }
  return analytic;
}

}  // namespace

double bitSamplesInMix(uint32_t pulseRate, uint32_t mixRate) {
  return double(2 * pulseFor(pulseRate).size()) * mixRate / pulseRate;
}

uint32_t otherPulseRate(uint32_t pulseRate) { return pulseRate == 44100 ? 48000 : 44100; }

PulseFilter::PulseFilter(uint32_t documentRate, uint32_t mixRate, double speed) {
  const auto spectrum = positiveSpectrum(documentRate);
  const auto analytic = analyticPulse(spectrum, documentRate, mixRate, speed);
  size_t peak = 0;
  for (size_t k = 1; k < spectrum.size(); ++k) peak = std::abs(spectrum[k]) > std::abs(spectrum[peak]) ? k : peak;
  carrierStep_ = 2 * std::numbers::pi * double(peak) / kTransformSize * documentRate / mixRate * speed;
  double energy = 0;
  for (const auto& a : analytic) energy += a.real() * a.real();
  const double scale = energy > 0 ? 1.0 / std::sqrt(energy) : 0.0;
  const size_t padded = (analytic.size() + kLanes - 1) / kLanes * kLanes;
  real_.assign(padded, 0.0f);
  imag_.assign(padded, 0.0f);
  for (size_t m = 0; m < analytic.size(); ++m) {
    real_[m] = float(analytic[m].real() * scale);
    imag_[m] = float(analytic[m].imag() * scale);
  }
}

namespace {

// Eight partial sums per product, one per lane of a vector register, so
// that no sum is reordered: every build and every processor gives the same
// bits. Compilers without vector types add the lanes one by one.
#if defined(__GNUC__)
using Lanes = float __attribute__((vector_size(kLanes * sizeof(float))));

inline void accumulate(const float* x, const float* real, const float* imag, Lanes& re, Lanes& im) {
  Lanes v, r, i;
  std::memcpy(&v, x, sizeof v);
  std::memcpy(&r, real, sizeof r);
  std::memcpy(&i, imag, sizeof i);
  re += v * r;
  im += v * i;
}
#else
using Lanes = std::array<float, kLanes>;

inline void accumulate(const float* x, const float* real, const float* imag, Lanes& re, Lanes& im) {
  for (size_t l = 0; l < kLanes; ++l) {
    re[l] += x[l] * real[l];
    im[l] += x[l] * imag[l];
  }
}
#endif

inline std::complex<float> correlate(const float* x, const float* real, const float* imag, size_t taps) {
  Lanes re = {}, im = {};
  for (size_t k = 0; k < taps; k += kLanes) accumulate(x + k, real + k, imag + k, re, im);
  float sumRe = 0, sumIm = 0;
  for (size_t l = 0; l < kLanes; ++l) {
    sumRe += re[l];
    sumIm += im[l];
  }
  return {sumRe, sumIm};
}

// The magnitudes of `count` windows, kGridStep samples apart: the check's
// innermost loop. On x86-64 it is also built for AVX2 (eight lanes at once,
// without fused multiply-adds, so the sums stay the same) and the loader
// picks what the processor has.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
__attribute__((target_clones("avx2", "default")))
#endif
void magnitudesOf(const float* x, size_t count, const float* real, const float* imag, size_t taps, float* out) {
  for (size_t j = 0; j < count; ++j)
    out[j] = std::sqrt(std::norm(correlate(x + j * PulseFilter::kGridStep, real, imag, taps)));
}

}  // namespace

std::complex<float> PulseFilter::response(const float* x) const {
  return correlate(x, real_.data(), imag_.data(), real_.size());
}

void PulseFilter::push(std::span<const float> samples, std::vector<float>& magnitudes) {
  pending_.insert(pending_.end(), samples.begin(), samples.end());
  const size_t taps = real_.size();
  if (pending_.size() < taps) return;
  const size_t count = (pending_.size() - taps) / kGridStep + 1;
  const size_t from = magnitudes.size();
  magnitudes.resize(from + count);
  magnitudesOf(pending_.data(), count, real_.data(), imag_.data(), taps, magnitudes.data() + from);
  pending_.erase(pending_.begin(), pending_.begin() + std::ptrdiff_t(count * kGridStep));
}

void PulseFilter::finish(std::vector<float>& magnitudes) {
  const std::vector<float> silence(real_.size(), 0.0f);
  push(silence, magnitudes);
  pending_.clear();
}

}  // namespace vtq
