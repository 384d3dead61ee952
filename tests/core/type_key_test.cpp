// A key text from the remote reaches the focused widget as the key a screen would read.
#include "platform/type_key.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <gtest/gtest.h>

#include "core/key_input.h"
#include "core/kelvorn_service.h"
#include "fakes/wait_for.h"

using namespace kelvorn;

namespace {

// Reads each press as every screen does.
struct KeyRecorder : QWidget {
    using QWidget::QWidget;
    KelvornSERVICE svc;
    std::vector<std::pair<int, std::string>> presses;
    int releases = 0;
    void keyPressEvent(QKeyEvent* event) override { presses.emplace_back(event->key(), typedKey(event, svc)); }
    void keyReleaseEvent(QKeyEvent*) override { ++releases; }
};

}  // namespace

TEST(TypeKey, TheFocusedWidgetOrElseTheActiveWindowReadsTheKey) {
    typeKey("1");  // no window at all: nothing happens
    KeyRecorder window;
    auto* field = new KeyRecorder(&window);
    field->setFocusPolicy(Qt::StrongFocus);
    window.show();
    window.activateWindow();
    field->setFocus();
    ASSERT_TRUE(waitFor([&] { return QApplication::focusWidget() == field; }, 2000));

    const struct { QString text; int qtKey; std::string key; } cases[] = {
        {"5", Qt::Key_5, "5"}, {"q", Qt::Key_Q, "q"}, {"Q", Qt::Key_Q, "Q"}, {"#", Qt::Key_unknown, "#"},
        {"\r", Qt::Key_unknown, "\r"}, {QString(QChar(0xC8)), Qt::Key_unknown, "\xc8"},
    };
    for (const auto& c : cases) {
        typeKey(c.text);
        ASSERT_FALSE(field->presses.empty());
        EXPECT_EQ(field->presses.back(), std::make_pair(c.qtKey, c.key)) << c.key;
    }
    typeKey("");
    EXPECT_EQ(field->presses.size(), std::size(cases));
    EXPECT_EQ(field->releases, static_cast<int>(std::size(cases)));

    field->clearFocus();
    ASSERT_TRUE(waitFor([] { return QApplication::focusWidget() == nullptr; }, 2000));
    typeKey("c");
    ASSERT_EQ(window.presses.size(), 1u);
    EXPECT_EQ(window.presses[0].second, "c");
}
