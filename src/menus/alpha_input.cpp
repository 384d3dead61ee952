// SPDX-License-Identifier: GPL-3.0-or-later
#include "menus/alpha_input.h"

#include <QScopedValueRollback>
#include <limits>

#include "core/widgets.h"
#include "platform/event_pump.h"
#include "platform/palette.h"
#include "platform/stage.h"
#include "state/kelvorn_service.h"

namespace kelvorn {

namespace {

constexpr int kCommitTicks = 30;
constexpr int kBlinkTicks = 5;
constexpr int kStartPeriodMs = 50;
constexpr int kKeyPeriodMs = 100;

// Captions and character sets of the keypad buttons 0..9 (keys "1".."9", "0"). A set
// starts with its digit and lists the cycle of repeated presses.
const char* const kCaptions[10] = {"1SPACE", "2ABC", "3DEF", "4GHI", "5JKL", "6MNO", "7PQRS", "8TUV", "9WXYZ", "0+"};
const char* const kSets[10] = {"1_", "2ABC", "3DEF", "4GHI", "5JKL", "6MNO", "7PQRS", "8TUV", "9WXYZ", "0+"};
constexpr double kButtLeft[10] = {3120, 5280, 7440, 3120, 5280, 7440, 3120, 5280, 7440, 5280};
constexpr double kButtTop[10] = {1560, 1560, 1560, 2400, 2400, 2400, 3240, 3240, 3240, 4080};

// Where the cursor mark of the display font stood: a full block reads the same on a TV.
const QChar kCursorMark(0x2588);

// The counters run on every tick, also between entries that may be days apart: they
// stop at the top of their range instead of wrapping, which is still far above every
// limit they are compared with.
void advance(int16_t& counter) {
    if (counter < std::numeric_limits<int16_t>::max()) ++counter;
}

// Each character of the text is one 8-bit code.
QString shown(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

ClickLabel* makeLabel(QWidget* parent, const TwipScale& twips, const char* caption, double points, unsigned text,
                      unsigned back, bool opaque) {
    auto* label = new ClickLabel(caption, parent);
    styleLabel(label, twips, {"Arial", points, true, text, back, opaque, Qt::AlignCenter});
    return label;
}

}  // namespace

AlphaInput::AlphaInput(QWidget* stage, Services& services)
    : MenuScreen(stage, services),
      frame(this, services.twips,
            FrameLayout{"ALPHA ENTRY", 2880, 5760, 840, 2520, 120, 2880, 2880, 9600, 1320, 4920, 3120, false}) {
    const TwipScale& twips = services.twips;
    setColours(this, palette::kBlack, palette::kBackground, true);

    AlphaDisplay = new QLabel(this);
    styleLabel(AlphaDisplay, twips,
               {"Arial", 26.25, true, palette::kWhite, palette::kNormalBack, true, Qt::AlignLeft | Qt::AlignVCenter});
    AlphaDisplay->setGeometry(twips.rect(3000, 240, 6495, 615));

    TVDEL = makeLabel(this, twips, "X = DEL", 15.75, palette::kNormalBack, palette::kHighlightBack, true);
    TVDEL->setGeometry(twips.rect(7440, 960, 2175, 375));
    connect(TVDEL, &ClickLabel::clicked, this, [this] { TVDEL_Click(); });

    for (int i = 0; i < 10; ++i) {
        ClickLabel* b = makeLabel(this, twips, kCaptions[i], 24, palette::kNormalText, palette::kNormalBack, true);
        b->setGeometry(twips.rect(kButtLeft[i], kButtTop[i], 1935, 615));
        connect(b, &ClickLabel::clicked, this, [this, i] { MainButt_Click(i); });
        MainButt[static_cast<size_t>(i)] = b;
    }

    MainCont = makeLabel(this, twips, ">>", 24, palette::kHighlightText, palette::kBackground, false);
    MainCont->setGeometry(twips.rect(9720, 2520, 1455, 495));
    connect(MainCont, &ClickLabel::clicked, this, [this] { MainCont_Click(); });
    connect(frame.MainBack, &ClickLabel::clicked, this, [this] { MainBack_Click(); });

    MainGo = new Mark(this, Mark::Shape::Forward, palette::kMark);
    MainGo->setGeometry(twips.rect(11280, 2880, 735, 495));
    Shape2 = new LineShape(this, palette::kWhite, qMax(1, twips.px(kThinTwips)));
    Shape2->setGeometry(twips.rect(11280, 2760, 975, 735));
    Line5 = new LineShape(this, palette::kWhite);
    Line5->setGeometry(twips.rect(9600, 1320, kThinTwips, 4920 - 1320));
    Line6 = new LineShape(this, palette::kWhite);
    Line6->setGeometry(twips.rect(9600, 3120, 11280 - 9600, kThinTwips));

    connect(&Timer1, &QTimer::timeout, this, &AlphaInput::Timer1_Timer);
    Timer1.start(kStartPeriodMs);  // ticks from creation on, also between entries
    // Created hidden: the lists menu shows it for each entry.
    hide();
}

QString AlphaInput::displayText() const { return AlphaDisplay->text(); }

void AlphaInput::keyTyped(const std::string& key) {
    // Table order: the key settings before the digits, so a setting equal to a digit
    // wins, except KeyAlt, which comes after them.
    const KelvornSERVICE& svc = s.svc;
    if (key.empty()) return;
    if (key == svc.KeyUp) return stepSearchChr(-1, 'Z');
    if (key == svc.KeyDown) return stepSearchChr(+1, '0');
    if (key == svc.KeyBack) return MainBack_Click();
    if (key == svc.KeyOk) return MainCont_Click();
    if (key.size() == 1 && key[0] >= '1' && key[0] <= '9') return MainButt_Click(key[0] - '1');
    if (key == "0") return MainButt_Click(9);
    if (key == svc.KeyAlt) return TVDEL_Click();
}

void AlphaInput::stepSearchChr(int delta, char whenEmpty) {
    timeOut_ = 0;
    if (searchChr_.empty()) {
        searchChr_ = std::string(1, whenEmpty);
        return;
    }
    const int code = static_cast<unsigned char>(searchChr_[0]) + delta;
    if (code < 0 || code > 255) return;  // outside the 8-bit set: the step is skipped
    const int upper = (code >= 'a' && code <= 'z') ? code - ('a' - 'A') : code;
    searchChr_ = std::string(1, static_cast<char>(upper));
}

void AlphaInput::MainButt_Click(int index) {
    if (index < 0 || index >= 10) return;
    const std::string set = kSets[index];
    Timer1.stop();
    cursorFlag_ = false;
    const size_t at = searchChr_.empty() ? std::string::npos : set.find(searchChr_);
    if (at == std::string::npos) {
        commitSearchChr();
        searchChr_ = set.substr(0, 1);
    } else {
        searchChr_ = set.substr((at + 1) % set.size(), 1);  // last letter back to the digit
    }
    timeOut_ = 0;
    // The next tick comes a full period after the key.
    Timer1.start(kKeyPeriodMs);
}

void AlphaInput::commitSearchChr() {
    s.svc.AlphaText += searchChr_;
    searchChr_.clear();
}

void AlphaInput::MainCont_Click() {
    s.svc.AlphaCancel = false;
    Timer1.stop();
    s.svc.AlphaText += searchChr_;  // the pending character stays until the next FadeIn
    Timer1.start();
    s.svc.AlphaRunning = false;
}

void AlphaInput::MainBack_Click() {
    s.svc.AlphaCancel = true;
    s.svc.AlphaRunning = false;
}

void AlphaInput::TVDEL_Click() {
    if (!searchChr_.empty()) searchChr_.clear();
    else if (!s.svc.AlphaText.empty()) s.svc.AlphaText.pop_back();
}

void AlphaInput::Timer1_Timer() {
    if (inTick_) return;
    advance(timeOut_);
    advance(timeOut2_);
    if (!s.svc.AlphaRunning) return;

    if (timeOut_ >= kCommitTicks) {
        timeOut_ = 0;
        if (!searchChr_.empty()) commitSearchChr();
    }
    const std::string& text = s.svc.AlphaText;
    QString wanted;
    if (timeOut2_ >= kBlinkTicks || cursorFlag_) {
        timeOut2_ = 0;
        cursorFlag_ = !cursorFlag_;
        wanted = cursorFlag_ ? shown(text) + kCursorMark : shown(text + searchChr_);
    } else {
        wanted = shown(text + searchChr_);
    }
    // Rewritten only on a change: a label set again flickers on a TV picture.
    if (AlphaDisplay->text() == wanted) return;
    AlphaDisplay->setText(wanted);
    const QScopedValueRollback ticking(inTick_, true);
    s.pump.pass();
}

void AlphaInput::FadeIn() {
    // Keys typed during the build-up already count for the coming entry.
    s.svc.AlphaText.clear();
    searchChr_.clear();
    const double gfx = s.svc.GFXSpeed;
    frame.fadeInUpToLines(s.pump, gfx);
    TVDEL->show();
    for (ClickLabel* b : MainButt) {
        delayK(s.pump, 2000, gfx);
        b->show();
    }
    delayK(s.pump, 10000, gfx);
    Line5->show();
    delayK(s.pump, 10000, gfx);
    Line6->show();
    MainCont->show();
    delayK(s.pump, 10000, gfx);
    Shape2->show();
    MainGo->show();
}

void AlphaInput::FadeOut() {
    frame.setTitleSize(26);
    frame.hide();
    TVDEL->hide();
    for (ClickLabel* b : MainButt) b->hide();
    Line5->hide();
    Line6->hide();
    MainCont->hide();
    Shape2->hide();
    MainGo->hide();
}

}  // namespace kelvorn
