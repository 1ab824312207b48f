// The sky scene in immediate-mode OpenGL 1.1: a gradient plane overhead and
// two cross-faded, scrolling cloud layers under linear fog. Every piece of GL
// state the drawing needs is set here; the window glue only makes the context
// current, swaps the buffers and passes the time in.
#pragma once

#include "cloud_noise.h"
#include "cloud_pacing.h"
#include "monitor_views.h"

// What one frame depends on, apart from the scene's own state.
struct FrameInput {
  double elapsedSeconds;  // since the start count
  bool brightFog;         // toggled by Space
  bool afterRest;         // the first frame after a rest: the sky jumps to the present
};

class Scene {
 public:
  // Needs the context current. Builds the two start-up slices for the given
  // time and fixes the projection to the start-up aspect.
  void Init(int width, int height, double elapsedSeconds);
  // Needs the context of another window current, one that shares this
  // scene's textures: that window looks through `frustum` and is this size.
  void InitView(const Frustum &frustum, int width, int height) const;
  // The viewport follows the window; the projection keeps the start-up aspect.
  void Resize(int width, int height);
  // Builds the rows due at this frame, once for every window, in whichever
  // sharing context is current; returns the newer slice's weight, which
  // every window's frame takes.
  float Advance(const FrameInput &frame);
  // The frame in the current context: that of Init, or one set up by InitView.
  void Draw(const FrameInput &frame, float fade) const;

 private:
  // Uploads the texel buffer into one of the cloud textures.
  void UploadSlice(unsigned texture);
  // Builds the rows due at this time, after a rest first jumping there;
  // returns the newer slice's weight.
  float AdvanceClouds(double elapsedSeconds, bool afterRest);

  unsigned CloudTextures[2] = {0, 0};           // GL names: [0] older slice, [1] newer
  unsigned char TexelBuffer[kSliceBytes] = {};  // RGBA rows of the slice being built
  CloudPacing clouds_;
};

// The largest viewport the current context draws into; 0 where it says nothing.
void MaxViewportSize(int *width, int *height);
