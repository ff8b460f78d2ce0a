// What the plug-in needs of its editor surface. The editor framework's surface implements it; the
// plug-in core only hands parameter values to it, asks its size and opens and closes its window.
//
// Contract: a surface handed to IEffectBase::AttachEditor is owned by the plug-in from then on and
// deleted with it. SetControlsFromParam and SetControlValue only store values for the next redraw
// (no lock, any thread). Window handles are the platform's, passed as opaque pointers.
#pragma once

class IEditorSurface {
public:
  virtual ~IEditorSurface() = default;

  virtual int Width() const = 0;
  virtual int Height() const = 0;

  // Tells every control bound to a parameter its new value (plain, or normalised).
  virtual void SetControlsFromParam(int paramIdx, double value, bool isNormalized) = 0;
  // Passes a normalised value to one control (level meters of the effects).
  virtual void SetControlValue(int controlIdx, double normalized) = 0;
  // Creates the drawing bitmaps; called once, after every control has its value.
  virtual void PrepareDraw() = 0;

  // Returns the new window, or null when it could not be created.
  virtual void* OpenEditorWindow(void* parentWindow) = 0;
  virtual void CloseEditorWindow() = 0;
};
