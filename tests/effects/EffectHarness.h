// Drives an effect through its VST 2 record the way a host does: open, sample rate, 64- or
// 32-bit blocks, parameters, chunks and programs. Works the same on an effect constructed in the
// test and on one obtained from a plug-in library.
#pragma once

#include "vst/vst2_abi.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace test_host {

inline VstIntPtr VST_CALLBACK Callback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
  return opcode == audioMasterVersion ? 2400 : 0;
}

constexpr double kPi = 3.141592653589793;

struct Stereo {
  std::vector<double> left, right;
  explicit Stereo(int frames = 0) : left(frames, 0.0), right(frames, 0.0) {}
  int Frames() const { return static_cast<int>(left.size()); }
};

// Deterministic noise in [-0.5, 0.5).
inline std::vector<double> Noise(int frames, unsigned seed)
{
  std::vector<double> v(frames);
  for (double& x : v) {
    seed = seed * 1664525u + 1013904223u;
    x = static_cast<double>(seed >> 8) / (1 << 24) - 0.5;
  }
  return v;
}

inline std::vector<double> Sine(int frames, double freq, double sampleRate, double amplitude)
{
  std::vector<double> v(frames);
  for (int n = 0; n < frames; ++n) v[n] = amplitude * std::sin(2.0 * kPi * freq * n / sampleRate);
  return v;
}

// Rounded through single precision, as the effects' filter path receives it.
inline double Single(double x)
{
  return static_cast<double>(static_cast<float>(x));
}

class Harness {
public:
  explicit Harness(AEffect* effect) : mEffect(effect) {}
  ~Harness()
  {
    if (mEffect != nullptr) Dispatch(effClose);
  }
  Harness(const Harness&) = delete;
  Harness& operator=(const Harness&) = delete;

  AEffect* Effect() const { return mEffect; }

  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f)
  {
    return mEffect->dispatcher(mEffect, opcode, index, value, ptr, opt);
  }

  void Open(float sampleRate = 48000.0f)
  {
    Dispatch(effOpen);
    Dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
    Dispatch(effSetBlockSize, 0, kBlock);
    Dispatch(effMainsChanged, 0, 1);
  }

  void SetParameter(int index, float normalized) { mEffect->setParameter(mEffect, index, normalized); }
  float GetParameter(int index) { return mEffect->getParameter(mEffect, index); }

  // Runs the whole signal through processDoubleReplacing in host blocks of `block` frames.
  Stereo Process(const Stereo& in, int block = kBlock)
  {
    Stereo out(in.Frames());
    for (int start = 0; start < in.Frames(); start += block) {
      const int n = std::min(block, in.Frames() - start);
      double* inputs[2] = {const_cast<double*>(in.left.data()) + start,
                           const_cast<double*>(in.right.data()) + start};
      double* outputs[2] = {out.left.data() + start, out.right.data() + start};
      mEffect->processDoubleReplacing(mEffect, inputs, outputs, n);
    }
    return out;
  }

  // The same through the 32-bit replacing callback.
  std::vector<float> ProcessFloatMono(const std::vector<float>& in, std::vector<float>* right = nullptr)
  {
    std::vector<float> outLeft(in.size()), outRight(in.size());
    const int frames = static_cast<int>(in.size());
    for (int start = 0; start < frames; start += kBlock) {
      const int n = std::min(kBlock, frames - start);
      float* inputs[2] = {const_cast<float*>(in.data()) + start, const_cast<float*>(in.data()) + start};
      float* outputs[2] = {outLeft.data() + start, outRight.data() + start};
      mEffect->processReplacing(mEffect, inputs, outputs, n);
    }
    if (right != nullptr) *right = outRight;
    return outLeft;
  }

  // Steady-state gain in dB of each channel on a sine at an integer frequency: one second to
  // settle, then the RMS ratio over one second (a whole number of periods).
  void GainDbAt(int freq, int sampleRate, double* leftDb, double* rightDb)
  {
    const Stereo in = [&] {
      Stereo s;
      s.left = Sine(2 * sampleRate, freq, sampleRate, 0.25);
      s.right = s.left;
      return s;
    }();
    const Stereo out = Process(in);
    double pin = 0, pl = 0, pr = 0;
    for (int n = sampleRate; n < 2 * sampleRate; ++n) {
      pin += in.left[n] * in.left[n];
      pl += out.left[n] * out.left[n];
      pr += out.right[n] * out.right[n];
    }
    *leftDb = 10.0 * std::log10(pl / pin);
    *rightDb = 10.0 * std::log10(pr / pin);
  }

  std::vector<unsigned char> GetChunk(bool bank = true)
  {
    void* data = nullptr;
    const VstIntPtr size = Dispatch(effGetChunk, bank ? 0 : 1, 0, &data);
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    return size > 0 && bytes != nullptr ? std::vector<unsigned char>(bytes, bytes + size)
                                        : std::vector<unsigned char>();
  }

  VstIntPtr SetChunk(std::vector<unsigned char> chunk, bool bank = true)
  {
    return Dispatch(effSetChunk, bank ? 0 : 1, static_cast<VstIntPtr>(chunk.size()), chunk.data());
  }

  static constexpr int kBlock = 1024;

private:
  AEffect* mEffect;
};

// A chunk holding the given plain values after the header.
inline std::vector<unsigned char> MakeChunk(const std::vector<double>& values)
{
  std::vector<unsigned char> chunk(8 + 8 * values.size());
  const unsigned char header[8] = {0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01, 0x00};
  std::memcpy(chunk.data(), header, 8);
  std::memcpy(chunk.data() + 8, values.data(), 8 * values.size());  // little-endian host
  return chunk;
}

}  // namespace test_host
