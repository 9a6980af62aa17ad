#pragma once
// The OpenGL drawing path: one texture per tile of the scene, drawn as scaled quads, and each
// label, drawn once with its outline into a small image whenever its text changes, as a blended
// quad over them. Lives on the window thread, as a child covering the display window, which keeps
// the scene and the lock.
//
// Painting takes the presenter's lock only to upload the pictures that changed and to copy the
// tiles' places and labels; the labels and the quads are drawn after it is released. A failure
// (no context, a shader that does not build, an OpenGL error) is reported once through the
// callback, and nothing more is drawn.
#include <QFont>
#include <QImage>
#include <QOpenGLFunctions>
#include <QOpenGLShaderProgram>
#include <QOpenGLWidget>

#include <array>
#include <functional>
#include <mutex>
#include <string>

#include "display/qt/tile_scene.h"

namespace dvr::display {

class GlCanvas final : public QOpenGLWidget, protected QOpenGLFunctions {
 public:
  using FailureCallback = std::function<void(const std::string& error)>;
  GlCanvas(QWidget* parent, TileScene& scene, std::recursive_mutex& mutex,
           FailureCallback on_failure);
  ~GlCanvas() override;

  uint64_t Repaints() const { return repaints_; }

 protected:
  void initializeGL() override;
  void paintGL() override;

 private:
  struct Drawn {
    QRect rect;
    bool has_picture;
    float u, v;  // the picture's share of its texture
    bool has_label;
    QString label;
    QPoint label_at;
  };
  // A label as drawn last, in its own texture.
  struct LabelImage {
    QString text;
    QImage image;  // the text with its outline, on transparent
  };
  // Uploads what changed and copies the rest; under the lock.
  int TakeScene(LabelSettings& style);
  // Draws the labels whose text or look changed and uploads them.
  void UpdateLabels(int count, const LabelSettings& style, qreal ratio);
  void DrawQuad(const QRect& rect, float u, float v, int canvas_width, int canvas_height);
  void Fail(const std::string& error);

  TileScene& scene_;
  std::recursive_mutex& mutex_;
  FailureCallback on_failure_;
  bool failed_ = false;
  QOpenGLShaderProgram program_;
  std::array<GLuint, TileScene::kCapacity> textures_{};
  std::array<GLuint, TileScene::kCapacity> label_textures_{};
  std::array<Drawn, TileScene::kCapacity> drawn_{};
  std::array<LabelImage, TileScene::kCapacity> labels_{};
  LabelSettings label_look_;  // the style and pixel ratio the label images were drawn with
  qreal label_ratio_ = 0;
  QFont label_font_;
  uint64_t repaints_ = 0;
};

}  // namespace dvr::display
