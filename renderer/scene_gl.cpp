// The sky scene in immediate-mode OpenGL 1.1: a gradient plane overhead and two
// cross-faded, scrolling cloud layers under linear fog.
#include <windows.h>
#include <GL/gl.h>
#include <GL/glu.h>

#include "cloud_pacing.h"
#include "renderer_state.h"

namespace {

GLuint CloudTextures[2];
unsigned char TexelBuffer[kSliceBytes];
CloudPacing Clouds;

void UploadSlice(GLuint texture) {
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, kSliceSize, kSliceSize, 0, GL_RGBA, GL_UNSIGNED_BYTE,
               TexelBuffer);
}

void Colour(const Rgb &c) { glColor3f(c.r, c.g, c.b); }
void Vertex(float x, float y) { glVertex3f(x, y, kSkyHeight); }

void CreateCloudTextures() {
  FillNoiseLattice();
  glGenTextures(2, CloudTextures);
  BuildStartupSlices(Clouds, ElapsedSeconds, TexelBuffer, [](int i) {
    UploadSlice(CloudTextures[i]);
    // Linear filtering belongs to the texture object; wrapping stays GL_REPEAT.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  });
}

float AdvanceCloudTexture() {
  const CloudStep step = AdvanceCloudRows(Clouds, ElapsedSeconds, TexelBuffer);
  if (step.sliceComplete) {
    // The newer slice becomes the older one; the older texture object is reused.
    const GLuint older = CloudTextures[0];
    CloudTextures[0] = CloudTextures[1];
    CloudTextures[1] = older;
    UploadSlice(CloudTextures[1]);
  }
  return step.FadeFraction;
}

void CloudLayer(GLuint texture, float weight, float s, float t) {
  glBindTexture(GL_TEXTURE_2D, texture);
  glColor4f(kCloudTint, kCloudTint, kCloudTint, weight);
  glBegin(GL_QUADS);
  glTexCoord2f(-s, -t);
  Vertex(kOuter, kOuter);
  glTexCoord2f(-s, kTextureSpan - t);
  Vertex(kOuter, -kOuter);
  glTexCoord2f(kTextureSpan - s, kTextureSpan - t);
  Vertex(-kOuter, -kOuter);
  glTexCoord2f(kTextureSpan - s, -t);
  Vertex(-kOuter, kOuter);
  glEnd();
}

void DrawSky(float fade, float s, float t) {
  // The square rings of the gradient, corner by corner, closed on the first.
  static const float kCorners[5][2] = {{1, 1}, {1, -1}, {-1, -1}, {-1, 1}, {1, 1}};

  glBegin(GL_TRIANGLE_FAN);
  Colour(kZenith);
  Vertex(0.0f, 0.0f);
  Colour(kMiddle);
  for (const auto &c : kCorners) Vertex(c[0] * kInner, c[1] * kInner);
  glEnd();

  glBegin(GL_QUAD_STRIP);
  for (const auto &c : kCorners) {
    Colour(kMiddle);
    Vertex(c[0] * kInner, c[1] * kInner);
    Colour(kHorizon);
    Vertex(c[0] * kOuter, c[1] * kOuter);
  }
  glEnd();

  float fog[4];
  FogColourFor(BrightFog, fog);
  glFogfv(GL_FOG_COLOR, fog);
  glEnable(GL_BLEND);
  if (CloudBlendFor(BrightFog) == CloudBlend::Additive)
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  else
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_FOG);

  CloudLayer(CloudTextures[0], 1.0f - fade, s, t);
  CloudLayer(CloudTextures[1], fade, s, t);

  glDisable(GL_FOG);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_BLEND);
}

}  // namespace

bool InitScene() {
  CreateCloudTextures();

  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  // The aspect of the start-up size stays; later resizes only move the viewport.
  gluPerspective(kFieldOfView, AspectOf(WindowWidth, WindowHeight), kNear, kFar);

  // The fog's colour follows BrightFog, frame by frame (DrawSky).
  glFogi(GL_FOG_MODE, GL_LINEAR);
  glFogf(GL_FOG_START, kFogStart);
  glFogf(GL_FOG_END, kFogEnd);

  Clouds.RowsDue = 0;
  Clouds.RowsDone = 0;
  return true;
}

void MaxViewportSize(int *width, int *height) {
  GLint dims[2] = {0, 0};
  glGetIntegerv(GL_MAX_VIEWPORT_DIMS, dims);
  *width = dims[0];
  *height = dims[1];
}

void ResizeScene(int width, int height) { glViewport(0, 0, width, height == 0 ? 1 : height); }

void RenderFrame() {
  UpdateFpsTitle();

  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  gluLookAt(0.0, 0.0, 0.0, kLookAt[0], kLookAt[1], kLookAt[2], 0.0, 0.0, 1.0);
  glClear(GL_COLOR_BUFFER_BIT);

  const float fade = AdvanceCloudTexture();
  const ScrollOffsets scroll = ScrollAt(ElapsedSeconds);
  DrawSky(fade, scroll.s, scroll.t);

  FrameRateTitle.FrameCount += 1;
}
