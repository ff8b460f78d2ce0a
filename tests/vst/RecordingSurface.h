// An editor surface that only records what the plug-in tells it, for testing the plug-in's side
// of the editor contract.
#pragma once

#include <vector>

#include "core/IEditorSurface.h"

class RecordingSurface : public IEditorSurface {
public:
  struct ParamPush {
    int paramIdx;
    double value;
    bool isNormalized;
  };

  RecordingSurface(int width, int height, bool* deleted) : mWidth(width), mHeight(height), mDeleted(deleted) {}
  ~RecordingSurface() override { *mDeleted = true; }

  int Width() const override { return mWidth; }
  int Height() const override { return mHeight; }
  void SetControlsFromParam(int paramIdx, double value, bool isNormalized) override
  {
    pushes.push_back({paramIdx, value, isNormalized});
  }
  void SetControlValue(int /*controlIdx*/, double /*normalized*/) override {}
  void PrepareDraw() override { pushesBeforePrepare = static_cast<int>(pushes.size()); }
  void* OpenEditorWindow(void* parentWindow) override
  {
    ++opens;
    return openSucceeds ? parentWindow : nullptr;
  }
  void CloseEditorWindow() override { ++closes; }

  std::vector<ParamPush> pushes;
  int pushesBeforePrepare = -1;
  int opens = 0;
  int closes = 0;
  bool openSucceeds = true;
  int mWidth;
  int mHeight;

private:
  bool* mDeleted;
};
