// Keys typed into the program on behalf of a remote control.
#include "remote/type_key.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "core/key_input.h"
#include "fakes/wait_for.h"
#include "state/kelvorn_service.h"

using namespace kelvorn;

namespace {

struct KeyRecorder : QWidget {
    using QWidget::QWidget;
    std::vector<std::string> keys;
    void keyPressEvent(QKeyEvent* event) override { keys.push_back(typedKey(event, {})); }
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
    for (const QString& text : QStringList{"5", "Q", "#", "", QString(QChar(0xC8))}) typeKey(text);
    EXPECT_EQ(field->keys, (std::vector<std::string>{"5", "Q", "#", "\xc8"}));
    field->clearFocus();
    typeKey("c");  // no widget has the focus: the window gets the key
    EXPECT_EQ(window.keys, std::vector<std::string>{"c"});
}
