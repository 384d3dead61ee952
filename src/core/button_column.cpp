// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/button_column.h"

#include "core/main_keys.h"
#include "core/widgets.h"
#include "platform/event_pump.h"
#include "platform/palette.h"
#include "platform/stage.h"

namespace kelvorn {

ButtonColumn::ButtonColumn(QWidget* screen, const TwipScale& twips, const std::vector<QString>& captions, double top,
                           const std::function<void(int)>& clicked) {
    for (int i = 0; i < static_cast<int>(captions.size()); ++i) {
        auto* b = new ClickLabel(captions[static_cast<size_t>(i)], screen);
        b->setTextFormat(Qt::PlainText);
        b->setFont(twips.font("Arial", 24, true));
        b->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        b->setGeometry(twips.rect(3120, top + 720 * i, 6015, 615));
        QObject::connect(b, &ClickLabel::clicked, screen, [clicked, i] { clicked(i); });
        buttons_.push_back(b);
    }
    highlight(0);
}

void ButtonColumn::setLook(int index, bool on) {
    setColours((*this)[index], on ? palette::kHighlightText : palette::kNormalText,
               on ? palette::kHighlightBack : palette::kNormalBack, true);
}

void ButtonColumn::highlight(int index) {
    if (index < 0 || index >= size()) return;
    aktbutt_ = index;
    for (int i = 0; i < size(); ++i) setLook(i, i == index);
}

void ButtonColumn::move(int delta) {
    setLook(aktbutt_, false);
    aktbutt_ = stepHighlight(aktbutt_, delta, size());
    setLook(aktbutt_, true);
}

void ButtonColumn::fadeIn(EventPump& pump, double gfx) {
    if (buttons_.empty()) return;
    buttons_.front()->show();
    for (size_t i = 1; i < buttons_.size(); ++i) {
        delayK(pump, 5000, gfx);
        buttons_[i]->show();
    }
}

void ButtonColumn::hide() {
    for (auto* b : buttons_) b->hide();
}

}  // namespace kelvorn
