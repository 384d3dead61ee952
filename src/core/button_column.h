// SPDX-License-Identifier: GPL-3.0-or-later
// The column of menu buttons with one highlighted: the main screen and the menus.
#pragma once
#include <QString>
#include <QtGlobal>
#include <functional>
#include <vector>

class QWidget;

namespace kelvorn {

class ClickLabel;
class EventPump;
class TwipScale;

// Holds widgets its screen owns: not copyable.
class ButtonColumn {
public:
    // Buttons of 6015 x 615 twips at left 3120, the first at `top`, one every 720 twips;
    // Arial bold 24, captions left-aligned. A click runs `clicked` with the button's index.
    ButtonColumn(QWidget* screen, const TwipScale& twips, const std::vector<QString>& captions, double top,
                 const std::function<void(int)>& clicked);
    Q_DISABLE_COPY_MOVE(ButtonColumn)

    // Paints button `index` highlighted and the others normal.
    void highlight(int index);
    // Moves the highlight by one, wrapping at both ends.
    void move(int delta);
    int aktbutt() const { return aktbutt_; }

    // The build-up: the first button at once, every further one after delay 5000.
    void fadeIn(EventPump& pump, double gfxSpeed);
    void hide();

    int size() const { return static_cast<int>(buttons_.size()); }
    ClickLabel* operator[](int index) const { return buttons_[static_cast<size_t>(index)]; }
    auto begin() const { return buttons_.begin(); }
    auto end() const { return buttons_.end(); }

private:
    void setLook(int index, bool highlighted);

    std::vector<ClickLabel*> buttons_;
    int aktbutt_ = 0;
};

}  // namespace kelvorn
