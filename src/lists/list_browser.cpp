// SPDX-License-Identifier: GPL-3.0-or-later
#include "lists/list_browser.h"

#include <algorithm>

#include "core/playback_engine.h"
#include "core/transitions.h"
#include "core/widgets.h"
#include "platform/event_pump.h"
#include "platform/palette.h"
#include "platform/random_source.h"
#include "platform/stage.h"
#include "state/kelvorn_service.h"

namespace kelvorn {

namespace {

FrameLayout listLayout(const QString& title) {
    return FrameLayout{title, 2880, 5760, 840, 2520, 120, 2880, 2880, 11160, 480, 5640, 3120, false};
}

}  // namespace

ListBrowser::ListBrowser(QWidget* stage, Services& services, Transitions& transitions, const ListOptions& options)
    : MenuScreen(stage, services),
      frame(this, services.twips, listLayout(options.title)),
      transitions_(transitions),
      options_(options) {
    const TwipScale& t = s.twips;
    setColours(this, palette::kBlack, palette::kBackground, true);

    for (int i = 0; i < kListLines; ++i) {
        auto* line = new ClickLabel(QStringLiteral("  "), this);
        line->setTextFormat(Qt::PlainText);  // names are shown as they are, never as markup
        line->setFont(t.font("Arial", 14.25, true));
        line->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        line->setGeometry(t.rect(3120, 720 + 480 * i, 8055, 375));
        connect(line, &ClickLabel::clicked, this, [this, i] {
            s.svc.AltSelect = false;
            ListLine_Click(i);
        });
        connect(line, &ClickLabel::rightClicked, this, [this, i] {
            s.svc.AltSelect = true;
            ListLine_Click(i);
        });
        ListLine[static_cast<size_t>(i)] = line;
        if (i == 0) paintLine(i, kHighlightText, kHighlightBack);
        else paintLine(i, kLineText, kLineBack);
    }

    Label1 = new ClickLabel(this);
    Label1->setGeometry(t.rect(2955, 300, 8295, 315));
    Label2 = new ClickLabel(this);
    Label2->setGeometry(t.rect(2955, 5520, 8295, 315));
    connect(Label1, &ClickLabel::clicked, this, [this] { keyTyped("2"); });
    connect(Label2, &ClickLabel::clicked, this, [this] { keyTyped("8"); });
    connect(frame.MainBack, &ClickLabel::clicked, this, [this] { close(); });
    hide();  // shown by the transition that opens it
}

void ListBrowser::keyTyped(const std::string& key) {
    KelvornSERVICE& svc = s.svc;
    const bool playback = options_.playbackKeys;
    const int n = count();
    // The first match acts: the move keys come before the digits, the others after.
    if (key == svc.KeyUp) {
        setPage(highlightUp({AktListPos, aktbutt}));
    } else if (key == svc.KeyDown) {
        if (!downStops()) setPage(highlightDown({AktListPos, aktbutt}, n));
    } else if (playback && key == "5") {
        requestSkip(s.svc, s.random);
    } else if (playback && key == "4") {
        requestPrevious(s.svc);
    } else if (key == "3") {
        AktListPos = static_cast<int16_t>(firstPage());
        FillList();
    } else if (key == "9") {
        AktListPos = static_cast<int16_t>(lastPage(n));
        FillList();
    } else if (key == "2") {
        AktListPos = static_cast<int16_t>(pageUp(AktListPos));
        FillList();
    } else if (key == "8") {
        AktListPos = static_cast<int16_t>(pageDown(AktListPos, n));
        FillList();
    } else if (key == "1" || key == "7") {
        const QString text = ListLine[static_cast<size_t>(aktbutt)]->text();
        const EntryAt at = [this](int i) -> const std::string& { return entry(i); };
        const ListPage page = key == "1" ? previousLetter({AktListPos, aktbutt}, n, text, at)
                                         : nextLetter({AktListPos, aktbutt}, n, text, at);
        moveHighlight(page.butt);
        AktListPos = static_cast<int16_t>(page.pos);
        FillList();
    } else if (key == svc.KeyBack) {
        close();
    } else if (key == svc.KeyOk) {
        svc.AltSelect = false;
        ListLine_Click(aktbutt);
    } else if (key == svc.KeyAlt) {
        svc.AltSelect = true;
        ListLine_Click(aktbutt);
    }
}

void ListBrowser::setPage(ListPage page) {
    if (page.butt != aktbutt) moveHighlight(page.butt);
    if (page.pos != AktListPos) {
        AktListPos = static_cast<int16_t>(page.pos);
        FillList();
    }
}

void ListBrowser::moveHighlight(int to) {
    paintLine(aktbutt, kLineText, kLineBack);
    aktbutt = static_cast<int16_t>(std::clamp(to, 0, kListLines - 1));
    paintLine(aktbutt, kHighlightText, kHighlightBack);
}

void ListBrowser::FillList() {
    AktListPos = normalisedPos(AktListPos);
    const int n = count();
    for (int i = 0; i < kListLines; ++i) {
        const int p = AktListPos + i;
        ListLine[static_cast<size_t>(i)]->setText(p > n ? QString() : lineText(entry(p), options_.cutExtension));
    }
}

bool ListBrowser::lineEmpty(int index) const { return ListLine[static_cast<size_t>(index)]->text().isEmpty(); }

int ListBrowser::positionOf(int index) const {
    const int p = AktListPos + index;
    return p >= 0 && p <= count() && p <= kMaxListPos ? p : -1;
}

void ListBrowser::ListLine_Click(int index) {
    if (index < 0 || index >= kListLines) return;
    if (lineEmpty(index)) return;  // empty lines are inert
    activate(index, s.svc.AltSelect);
    restoreLineLook(index);
}

void ListBrowser::restoreLineLook(int index) {
    // The look the line has now, not the one it had: keys served during the flash may
    // have moved the highlight, and there is only ever one orange line.
    setLineBackground(index, index == aktbutt ? kHighlightBack : kLineBack);
}

void ListBrowser::flash(int index, Flash kind) {
    for (unsigned colour : flashColours(kind)) {
        setLineBackground(index, colour);
        for (int k = 0; k <= kFlashPause; ++k) s.pump.pass();
    }
}

void ListBrowser::close() {
    transitions_.backToMain(*this);  // a second back key during the wipe changes nothing
}

void ListBrowser::FadeIn() {
    const double gfx = s.svc.GFXSpeed;
    frame.fadeIn(s.pump, gfx);
    // The lines from the outside in, two at a time.
    for (int i = 0; i < kListLines / 2; ++i) {
        if (i > 0) delayK(s.pump, 5000, gfx);
        ListLine[static_cast<size_t>(i)]->show();
        ListLine[static_cast<size_t>(kListLines - 1 - i)]->show();
    }
}

void ListBrowser::FadeOut() {
    frame.hideLines();
    for (ClickLabel* line : ListLine) line->hide();
    frame.hideBackAndMark();
}

void ListBrowser::resetPage() {
    for (int i = 0; i < kListLines; ++i) paintLine(i, kLineText, kLineBack);
    paintLine(0, kHighlightText, kHighlightBack);
    aktbutt = 0;
    AktListPos = 0;
}

unsigned ListBrowser::lineBackground(int line) const {
    return line >= 0 && line < kListLines ? back_[static_cast<size_t>(line)] : 0;
}

unsigned ListBrowser::lineTextColour(int line) const {
    return line >= 0 && line < kListLines ? text_[static_cast<size_t>(line)] : 0;
}

void ListBrowser::paintLine(int line, unsigned text, unsigned back) {
    if (line < 0 || line >= kListLines) return;
    text_[static_cast<size_t>(line)] = text;
    back_[static_cast<size_t>(line)] = back;
    setColours(ListLine[static_cast<size_t>(line)], rgbFromBgr(text), rgbFromBgr(back), true);
}

void ListBrowser::setLineBackground(int line, unsigned back) {
    if (line >= 0 && line < kListLines) paintLine(line, text_[static_cast<size_t>(line)], back);
}

void ListBrowser::setLineTextColour(int line, unsigned text) {
    if (line >= 0 && line < kListLines) paintLine(line, text, back_[static_cast<size_t>(line)]);
}

}  // namespace kelvorn
