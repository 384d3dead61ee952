// SPDX-License-Identifier: GPL-3.0-or-later
#include "mpv/mpv_video_widget.h"

#include <mpv/render_gl.h>

#include "mpv/mpv_library.h"
#include "platform/debug_log.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMetaObject>
#include <QOpenGLContext>
#include <QOpenGLFunctions>

#include <algorithm>

namespace kelvorn {

namespace {

void* glProcAddress(void*, const char* name) {
    QOpenGLContext* context = QOpenGLContext::currentContext();
    return context ? reinterpret_cast<void*>(context->getProcAddress(name)) : nullptr;
}

// Some platforms (offscreen, for one) have no OpenGL; an OpenGL widget there crashes
// Qt when its window is drawn, so a throwaway context is tried first.
bool openGlAvailable() {
    static const bool available = [] {
        QOpenGLContext probe;
        return probe.create();
    }();
    return available;
}

}  // namespace

MpvGlView::MpvGlView(mpv_handle* mpv, QWidget* parent) : QOpenGLWidget(parent), mpv_(mpv) {
    setFocusPolicy(Qt::NoFocus);
}

MpvGlView::~MpvGlView() {
    // The base class destroys the GL context later, when this part is gone already.
    if (context()) disconnect(context(), nullptr, this, nullptr);
    detach();
}

void MpvGlView::detach() {
    if (render_) {
        makeCurrent();
        freeRenderContext();
        doneCurrent();
    }
    mpv_ = nullptr;
}

// Runs on an mpv thread: only queues a repaint on the GUI thread.
void MpvGlView::render_update(void* self) {
    auto* widget = static_cast<MpvGlView*>(self);
    QMetaObject::invokeMethod(
        widget, [widget] { widget->update(); }, Qt::QueuedConnection);
}

void MpvGlView::initializeGL() {
    // A new GL context (first show, or a move to another window) gets a new render context.
    connect(
        context(), &QOpenGLContext::aboutToBeDestroyed, this,
        [this] {
            makeCurrent();
            freeRenderContext();
            doneCurrent();
        },
        Qt::DirectConnection);
    if (!mpv_ || render_) return;
    mpv_opengl_init_params gl{&glProcAddress, nullptr};
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_OPENGL)},
        {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &gl},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    if (mpv::api()->render_context_create(&render_, mpv_, params) < 0) {
        render_ = nullptr;
        return;
    }
    mpv::api()->render_context_set_update_callback(render_, &MpvGlView::render_update, this);
    // Until now videos went to the null output (sound only); switching the output makes
    // mpv rebuild the picture chain, also for a video already open.
    if (mpv::api()->set_property_string(mpv_, "vo", "libmpv") < 0) qCDebug(lcPlayer, "mpv: no picture output");
}

// Called with this widget's GL context current.
void MpvGlView::freeRenderContext() {
    if (!render_) return;
    // After this returns no update callback runs any more.
    mpv::api()->render_context_set_update_callback(render_, nullptr, nullptr);
    // Back to the null output first, so mpv never tries the picture output without a
    // render context (that fails the video's picture with an error).
    if (mpv_)
        if (mpv::api()->set_property_string(mpv_, "vo", "null") < 0) qCDebug(lcPlayer, "mpv: picture output kept");
    mpv::api()->render_context_free(render_);
    render_ = nullptr;
}

void MpvGlView::paintGL() {
    ++paints_;
    if (!render_) {
        QOpenGLFunctions* gl = context()->functions();
        gl->glClearColor(0, 0, 0, 1);
        gl->glClear(GL_COLOR_BUFFER_BIT);
        return;
    }
    const qreal ratio = devicePixelRatioF();
    mpv_opengl_fbo fbo{static_cast<int>(defaultFramebufferObject()), static_cast<int>(width() * ratio),
                       static_cast<int>(height() * ratio), 0};
    int flipY = 1;  // the widget's framebuffer has its origin at the bottom left
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
        {MPV_RENDER_PARAM_FLIP_Y, &flipY},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    if (mpv::api()->render_context_render(render_, params) >= 0) ++frames_;
}

MpvVideoWidget::MpvVideoWidget(mpv_handle* mpv, QWidget* parent) : QWidget(parent) {
    // The video screen keeps the keys; the picture only takes them if given the focus.
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    if (openGlAvailable()) view_ = new MpvGlView(mpv, this);
    if (parent) parent->installEventFilter(this);
}

void MpvVideoWidget::detach() {
    if (view_) view_->detach();
}

void MpvVideoWidget::resizeEvent(QResizeEvent* event) {
    if (view_) view_->setGeometry(rect());
    QWidget::resizeEvent(event);
}

void MpvVideoWidget::keyPressEvent(QKeyEvent* event) {
    event->accept();
    if (event->key() == Qt::Key_Escape) {
        emit leaveFullScreen();
        return;
    }
    const QString text = event->text();
    if (!text.isEmpty()) emit keyTyped(text.at(0).unicode());
}

bool MpvVideoWidget::eventFilter(QObject* watched, QEvent* event) {
    if (fullScreen_ && watched == parent() && event->type() == QEvent::Resize) setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

void MpvVideoWidget::place(bool fullScreen, bool visible, int width, int height) {
    fullScreen_ = fullScreen;
    if (fullScreen) {
        if (parentWidget()) setGeometry(parentWidget()->rect());
        show();
        raise();
        return;
    }
    setGeometry(0, 0, std::max(0, width), std::max(0, height));
    setVisible(visible);
}

}  // namespace kelvorn
