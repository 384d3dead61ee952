// SPDX-License-Identifier: GPL-3.0-or-later
// The video player's picture: mpv's render API drawing into an OpenGL widget.
#pragma once
#include <QOpenGLWidget>

struct mpv_handle;
struct mpv_render_context;

namespace kelvorn {

// The OpenGL surface mpv draws into; made only where the platform offers OpenGL.
class MpvGlView : public QOpenGLWidget {
    Q_OBJECT
public:
    MpvGlView(mpv_handle* mpv, QWidget* parent);
    ~MpvGlView() override;

    // Frees the render context and forgets the mpv handle.
    void detach();
    bool hasRenderContext() const { return render_ != nullptr; }
    int paintCount() const { return paints_; }
    int frameCount() const { return frames_; }

protected:
    void initializeGL() override;
    void paintGL() override;

private:
    static void render_update(void* self);
    void freeRenderContext();

    mpv_handle* mpv_ = nullptr;
    mpv_render_context* render_ = nullptr;
    int paints_ = 0;
    int frames_ = 0;
};

// The picture as the video screen sees it: a black area placed as the control is, with
// the OpenGL surface filling it. Without OpenGL it stays black and videos play as sound.
class MpvVideoWidget : public QWidget {
    Q_OBJECT
public:
    MpvVideoWidget(mpv_handle* mpv, QWidget* parent);

    // Frees the render context; the player calls this before it destroys the handle.
    void detach();
    // Full screen fills the parent (also after it resizes); otherwise the control's own
    // size and visibility at the parent's top left corner.
    void place(bool fullScreen, bool visible, int width, int height);

    // Diagnostics for tests: whether mpv draws here, paints so far, those that drew
    // mpv's picture, and the picture as last drawn.
    bool hasRenderContext() const { return view_ && view_->hasRenderContext(); }
    int paintCount() const { return view_ ? view_->paintCount() : 0; }
    int frameCount() const { return view_ ? view_->frameCount() : 0; }
    QImage grabPicture() { return view_ ? view_->grabFramebuffer() : QImage(); }

signals:
    // A character typed while the picture had the focus.
    void keyTyped(int code);
    // Escape typed while the picture had the focus: leave full-screen display.
    void leaveFullScreen();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    MpvGlView* view_ = nullptr;
    bool fullScreen_ = false;
};

}  // namespace kelvorn
