// A key text from the remote reaches the focused widget as the key a screen reads.
#include "platform/type_key.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <gtest/gtest.h>

#include "core/key_input.h"
#include "fakes/wait_for.h"
#include "state/kelvorn_service.h"

using namespace kelvorn;
using Press = std::pair<int, std::string>;  // the Qt key, and the key every screen reads

namespace {

struct KeyRecorder : QWidget {
    using QWidget::QWidget;
    std::vector<Press> presses;
    int releases = 0;
    void keyPressEvent(QKeyEvent* event) override { presses.emplace_back(event->key(), typedKey(event, KelvornSERVICE{})); }
    void keyReleaseEvent(QKeyEvent*) override { ++releases; }
};

}  // namespace

TEST(TypeKey, TheFocusedWidgetOrElseTheActiveWindowReadsTheKey) {
    KeyRecorder window;
    auto* field = new KeyRecorder(&window);
    field->setFocusPolicy(Qt::StrongFocus);
    window.show();
    window.activateWindow();
    field->setFocus();
    ASSERT_TRUE(waitFor([&] { return QApplication::focusWidget() == field; }, 2000));
    for (const QString& text : QStringList{"5", "q", "Q", "#", "", QString(QChar(0xC8))}) typeKey(text);
    EXPECT_EQ(field->presses, (std::vector<Press>{{Qt::Key_5, "5"}, {Qt::Key_Q, "q"}, {Qt::Key_Q, "Q"},
                                                  {Qt::Key_unknown, "#"}, {Qt::Key_unknown, "\xc8"}}));
    EXPECT_EQ(field->releases, 5);
    field->clearFocus();
    typeKey("c");  // no widget has the focus: the window gets the key
    EXPECT_EQ(window.presses, (std::vector<Press>{{Qt::Key_C, "c"}}));
}
