#include "scene_gl.h"

#include <windows.h>
#include <GL/gl.h>
#include <GL/glu.h>

#include "sky_scene.h"

namespace {

void Colour(const Rgb &c) { glColor3f(c.r, c.g, c.b); }
void Vertex(float x, float y) { glVertex3f(x, y, kSkyHeight); }

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

// The square rings of the gradient, corner by corner, closed on the first.
void SkyGradient() {
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
}

// Linear fog over the clouds; its colour follows the frame's fog choice (Draw).
void SetUpFog() {
  glFogi(GL_FOG_MODE, GL_LINEAR);
  glFogf(GL_FOG_START, kFogStart);
  glFogf(GL_FOG_END, kFogEnd);
}

// The one camera of every window, then a cleared picture.
void LookUp() {
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  gluLookAt(0.0, 0.0, 0.0, kLookAt[0], kLookAt[1], kLookAt[2], 0.0, 0.0, 1.0);
  glClear(GL_COLOR_BUFFER_BIT);
}

void DrawSky(const FrameInput &frame, float fade, const GLuint textures[2]) {
  const ScrollOffsets scroll = ScrollAt(frame.elapsedSeconds);
  SkyGradient();

  float fog[4];
  FogColourFor(frame.brightFog, fog);
  glFogfv(GL_FOG_COLOR, fog);
  glEnable(GL_BLEND);
  if (CloudBlendFor(frame.brightFog) == CloudBlend::Additive)
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  else
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_FOG);

  CloudLayer(textures[0], 1.0f - fade, scroll.s, scroll.t);
  CloudLayer(textures[1], fade, scroll.s, scroll.t);

  glDisable(GL_FOG);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_BLEND);
}

}  // namespace

void Scene::Init(int width, int height, double elapsedSeconds) {
  FillNoiseLattice();
  glGenTextures(2, CloudTextures);
  BuildStartupSlices(clouds_, elapsedSeconds, TexelBuffer, [this](int i) {
    UploadSlice(CloudTextures[i]);
    // Linear filtering belongs to the texture object; wrapping stays GL_REPEAT.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  });

  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  // The aspect of the start-up size stays; later resizes only move the viewport.
  gluPerspective(kFieldOfView, AspectOf(width, height), kNear, kFar);

  SetUpFog();

  clouds_.RowsDue = 0;
  clouds_.RowsDone = 0;
}

void Scene::InitView(const Frustum &frustum, int width, int height) const {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glFrustum(frustum.left, frustum.right, frustum.bottom, frustum.top, frustum.nearPlane, frustum.farPlane);
  SetUpFog();
  glViewport(0, 0, width, height == 0 ? 1 : height);
}

void Scene::Resize(int width, int height) { glViewport(0, 0, width, height == 0 ? 1 : height); }

void Scene::UploadSlice(unsigned texture) {
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, kSliceSize, kSliceSize, 0, GL_RGBA, GL_UNSIGNED_BYTE,
               TexelBuffer);
}

float Scene::AdvanceClouds(double elapsedSeconds, bool afterRest) {
  return StepClouds(clouds_, elapsedSeconds, afterRest, TexelBuffer, [this] {
    // The newer slice becomes the older one; the older texture object is reused.
    const GLuint older = CloudTextures[0];
    CloudTextures[0] = CloudTextures[1];
    CloudTextures[1] = older;
    UploadSlice(CloudTextures[1]);
  });
}

float Scene::Advance(const FrameInput &frame) { return AdvanceClouds(frame.elapsedSeconds, frame.afterRest); }

void Scene::Draw(const FrameInput &frame, float fade) const {
  LookUp();
  DrawSky(frame, fade, CloudTextures);
}

void MaxViewportSize(int *width, int *height) {
  GLint dims[2] = {0, 0};
  glGetIntegerv(GL_MAX_VIEWPORT_DIMS, dims);
  *width = dims[0];
  *height = dims[1];
}
