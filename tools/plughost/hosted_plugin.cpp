#include "hosted_plugin.h"

#include "host_callback.h"
#include "host_error.h"

#include <cstdio>
#include <cstring>

namespace {

// Larger than any field the interface defines, so that an overrun lands in our own buffer.
constexpr std::size_t kTextBuffer = 512;

std::string Hex(VstInt32 value)
{
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
  return text;
}

}  // namespace

HostedPlugin::HostedPlugin(const std::string& path, HostContext& host) : mPath(path), mHost(host)
{
  std::string reason;
  mLibrary = PluginLibrary::Load(path, reason);
  if (!mLibrary)
    throw HostError("cannot load plug-in " + path + ": " + reason);

  void* entry = mLibrary->FindFunction("VSTPluginMain");
  if (!entry)
    entry = mLibrary->FindFunction("main");
  if (!entry)
    throw HostError(path + " is not a VST 2 plug-in: it exports neither VSTPluginMain nor main");

  AttachHostContext(&mHost);
  AEffect* effect = reinterpret_cast<VSTPluginMainProc>(entry)(HostCallback);
  std::string fault;
  if (!effect)
    fault = path + ": the entry point returned no effect";
  else if (effect->magic != kEffectMagic)
    fault = path + " is not a VST 2 plug-in: its effect record has magic " + Hex(effect->magic) + ", not " +
            Hex(kEffectMagic);
  else if (!effect->dispatcher)
    fault = path + ": the effect record has no dispatcher";
  else if (effect->numParams < 0 || effect->numInputs < 0 || effect->numOutputs < 0 || effect->numPrograms < 0)
    fault = path + ": the effect record has a negative parameter, program or channel count";
  if (!fault.empty()) {
    // A record we cannot trust is never called into, not even to close it.
    AttachHostContext(nullptr);
    throw HostError(fault);
  }
  mEffect = effect;
  Dispatch(effOpen);
}

HostedPlugin::~HostedPlugin()
{
  if (mEffect) {
    StopProcessing();
    Dispatch(effClose);
  }
  AttachHostContext(nullptr);
}

VstIntPtr HostedPlugin::Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) const
{
  return mEffect->dispatcher(mEffect, opcode, index, value, ptr, opt);
}

std::string HostedPlugin::DispatchText(VstInt32 opcode, VstInt32 index) const
{
  char text[kTextBuffer] = {};
  Dispatch(opcode, index, 0, text);
  text[kTextBuffer - 1] = 0;
  return text;
}

float HostedPlugin::GetParameter(int index) const
{
  return mEffect->getParameter ? mEffect->getParameter(mEffect, index) : 0.0f;
}

void HostedPlugin::SetParameter(int index, float normalised) const
{
  if (mEffect->setParameter)
    mEffect->setParameter(mEffect, index, normalised);
}

void HostedPlugin::Configure(double sampleRate, int blockSize)
{
  StopProcessing();
  mHost.sampleRate = sampleRate;
  mHost.blockSize = blockSize;
  Dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(sampleRate));
  Dispatch(effSetBlockSize, 0, blockSize);
}

void HostedPlugin::StartProcessing()
{
  if (mProcessing)
    return;
  Dispatch(effMainsChanged, 0, 1);
  Dispatch(effStartProcess);
  mHost.samplePosition = 0.0;
  mHost.playing = true;
  mProcessing = true;
}

void HostedPlugin::StopProcessing()
{
  if (!mProcessing)
    return;
  Dispatch(effStopProcess);
  Dispatch(effMainsChanged, 0, 0);
  mHost.playing = false;
  mProcessing = false;
}

std::vector<std::uint8_t> HostedPlugin::SaveState() const
{
  void* data = nullptr;
  VstIntPtr size = Dispatch(effGetChunk, 0, 0, &data);
  if (size <= 0 || !data)
    return {};
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  return std::vector<std::uint8_t>(bytes, bytes + size);
}

bool HostedPlugin::LoadState(const std::vector<std::uint8_t>& chunk) const
{
  // The plug-in may keep the pointer until it has read the chunk; our copy outlives the call.
  std::vector<std::uint8_t> copy = chunk;
  return Dispatch(effSetChunk, 0, static_cast<VstIntPtr>(copy.size()), copy.data()) != 0;
}
