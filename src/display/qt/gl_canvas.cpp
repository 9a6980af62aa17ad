#include "display/qt/gl_canvas.h"

#include <QFontMetrics>
#include <QOpenGLContext>
#include <QPainter>

#include "display/qt/gl_error_text.h"
#include "display/qt/image_painter.h"

namespace dvr::display {
namespace {

constexpr int kTextureWidth = 640, kTextureHeight = 272;

// Positions in canvas pixels, top-left origin; the texture's rows run top-down like the picture.
constexpr const char* kVertexShader = R"(
attribute vec2 position;
attribute vec2 texel;
uniform vec2 canvas;
varying vec2 coordinate;
void main() {
  gl_Position = vec4(position.x / canvas.x * 2.0 - 1.0, 1.0 - position.y / canvas.y * 2.0, 0.0, 1.0);
  coordinate = texel;
}
)";
// Pictures are opaque; labels come premultiplied and are blended.
constexpr const char* kFragmentShader = R"(
uniform sampler2D picture;
uniform float opaque;
varying vec2 coordinate;
void main() {
  vec4 colour = texture2D(picture, coordinate);
  gl_FragColor = opaque > 0.5 ? vec4(colour.rgb, 1.0) : colour;
}
)";

bool SameLook(const LabelSettings& a, const LabelSettings& b) {
  return a.outline_colour == b.outline_colour && a.text_colour == b.text_colour &&
         a.font.height == b.font.height && a.font.width == b.font.width &&
         a.font.weight == b.font.weight && a.font.italic == b.font.italic &&
         a.font.face == b.font.face;
}

void MakeTextures(QOpenGLFunctions& gl, GLuint* textures, GLsizei count) {
  gl.glGenTextures(count, textures);
  for (GLsizei i = 0; i < count; ++i) {
    gl.glBindTexture(GL_TEXTURE_2D, textures[i]);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  }
}

}  // namespace

GlCanvas::GlCanvas(QWidget* parent, TileScene& scene, std::recursive_mutex& mutex,
                   FailureCallback on_failure)
    : QOpenGLWidget(parent), scene_(scene), mutex_(mutex), on_failure_(std::move(on_failure)) {
  // The display window takes the mouse; the canvas only shows.
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

GlCanvas::~GlCanvas() {
  if (context() == nullptr || textures_[0] == 0) return;
  makeCurrent();
  glDeleteTextures(static_cast<GLsizei>(textures_.size()), textures_.data());
  glDeleteTextures(static_cast<GLsizei>(label_textures_.size()), label_textures_.data());
  doneCurrent();
}

void GlCanvas::Fail(const std::string& error) {
  if (failed_) return;
  failed_ = true;
  on_failure_(error);
}

void GlCanvas::initializeGL() {
  if (context() == nullptr || !context()->isValid()) return Fail(kNoContextText);
  initializeOpenGLFunctions();
  if (!program_.addShaderFromSourceCode(QOpenGLShader::Vertex, kVertexShader) ||
      !program_.addShaderFromSourceCode(QOpenGLShader::Fragment, kFragmentShader) ||
      !program_.link()) {
    return Fail(kNoShaderText);
  }
  MakeTextures(*this, textures_.data(), static_cast<GLsizei>(textures_.size()));
  for (GLuint texture : textures_) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, kTextureWidth, kTextureHeight, 0, GL_BGRA,
                 GL_UNSIGNED_BYTE, nullptr);
  }
  MakeTextures(*this, label_textures_.data(), static_cast<GLsizei>(label_textures_.size()));
  if (glGetError() != GL_NO_ERROR) return Fail(kNoTextureText);
  // A new context has none of the pictures.
  std::lock_guard lock(mutex_);
  scene_.MarkAllChanged();
}

int GlCanvas::TakeScene(LabelSettings& style) {
  std::lock_guard lock(mutex_);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, kTextureWidth);
  const int count = scene_.Count();
  for (int i = 0; i < count; ++i) {
    TileScene::Tile& tile = scene_.At(i);
    const size_t index = static_cast<size_t>(i);
    if (tile.has_picture && tile.changed) {
      glBindTexture(GL_TEXTURE_2D, textures_[index]);
      glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, tile.width, tile.height, GL_BGRA, GL_UNSIGNED_BYTE,
                      tile.rgb.constBits());
      tile.changed = false;
    }
    drawn_[index] = {QRectOf(tile.rect),
                     tile.has_picture,
                     static_cast<float>(tile.width) / kTextureWidth,
                     static_cast<float>(tile.height) / kTextureHeight,
                     tile.has_label,
                     tile.label,
                     QPoint(tile.label_x, tile.label_y)};
  }
  style = scene_.LabelStyle();
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  return count;
}

void GlCanvas::UpdateLabels(int count, const LabelSettings& style, qreal ratio) {
  if (!SameLook(style, label_look_) || ratio != label_ratio_) {
    label_look_ = style;
    label_ratio_ = ratio;
    label_font_ = FontOf(style.font, ratio);
    for (LabelImage& label : labels_) label.text.clear();
  }
  const QFontMetrics metrics(label_font_);
  for (int i = 0; i < count; ++i) {
    const Drawn& tile = drawn_[static_cast<size_t>(i)];
    LabelImage& label = labels_[static_cast<size_t>(i)];
    if (!tile.has_label || label.text == tile.label) continue;
    label.text = tile.label;
    // One pixel of outline on every side; made anew only when the size changes.
    const QSize size(metrics.horizontalAdvance(tile.label) + 2, metrics.height() + 2);
    if (label.image.size() != size) label.image = QImage(size, QImage::Format_ARGB32_Premultiplied);
    label.image.fill(Qt::transparent);
    QPainter painter(&label.image);
    painter.setFont(label_font_);
    DrawOutlinedText(painter, tile.label, 1, 1, style);
    painter.end();
    glBindTexture(GL_TEXTURE_2D, label_textures_[static_cast<size_t>(i)]);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, size.width(), size.height(), 0, GL_BGRA,
                 GL_UNSIGNED_BYTE, label.image.constBits());
  }
}

void GlCanvas::DrawQuad(const QRect& rect, float u, float v, int canvas_width, int canvas_height) {
  const float left = static_cast<float>(rect.left()), top = static_cast<float>(rect.top());
  const float right = left + static_cast<float>(rect.width());
  const float bottom = top + static_cast<float>(rect.height());
  const GLfloat positions[] = {left, top, right, top, left, bottom, right, bottom};
  const GLfloat texels[] = {0, 0, u, 0, 0, v, u, v};
  program_.setUniformValue("canvas", static_cast<float>(canvas_width),
                           static_cast<float>(canvas_height));
  program_.setAttributeArray("position", positions, 2);
  program_.setAttributeArray("texel", texels, 2);
  glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
}

void GlCanvas::paintGL() {
  if (failed_) return;
  ++repaints_;
  LabelSettings style;
  const int count = TakeScene(style);
  const qreal ratio = devicePixelRatioF();
  const int width = qRound(this->width() * ratio), height = qRound(this->height() * ratio);
  if (style.enabled) UpdateLabels(count, style, ratio);

  glViewport(0, 0, width, height);
  glDisable(GL_SCISSOR_TEST);
  glDisable(GL_DEPTH_TEST);
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  // Client-side arrays: no buffer may stay bound.
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  program_.bind();
  program_.setUniformValue("picture", 0);
  program_.enableAttributeArray("position");
  program_.enableAttributeArray("texel");
  glActiveTexture(GL_TEXTURE0);
  glDisable(GL_BLEND);
  program_.setUniformValue("opaque", 1.0f);
  for (int i = 0; i < count; ++i) {
    const Drawn& tile = drawn_[static_cast<size_t>(i)];
    if (!tile.has_picture) continue;
    glBindTexture(GL_TEXTURE_2D, textures_[static_cast<size_t>(i)]);
    DrawQuad(tile.rect, tile.u, tile.v, width, height);
  }
  if (style.enabled) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_SCISSOR_TEST);
    program_.setUniformValue("opaque", 0.0f);
    for (int i = 0; i < count; ++i) {
      const Drawn& tile = drawn_[static_cast<size_t>(i)];
      const QImage& image = labels_[static_cast<size_t>(i)].image;
      if (!tile.has_label || image.isNull()) continue;
      // Kept inside its tile, as a neighbour's picture drawn later would on the software path.
      glScissor(tile.rect.left(), height - tile.rect.top() - tile.rect.height(), tile.rect.width(),
                tile.rect.height());
      glBindTexture(GL_TEXTURE_2D, label_textures_[static_cast<size_t>(i)]);
      DrawQuad(QRect(tile.label_at - QPoint(1, 1), image.size()), 1, 1, width, height);
    }
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_BLEND);
  }
  program_.disableAttributeArray("position");
  program_.disableAttributeArray("texel");
  program_.release();
  if (const GLenum error = glGetError(); error != GL_NO_ERROR) Fail(GlErrorText(error));
}

}  // namespace dvr::display
