// SPDX-License-Identifier: GPL-3.0-or-later
#include "alarm/alarm_menu.h"

#include <QKeyEvent>
#include <QLabel>
#include <algorithm>

#include "alarm/alarm_settings.h"
#include "core/alarm_clock.h"
#include "core/main_display.h"
#include "core/transitions.h"
#include "core/widgets.h"
#include "platform/event_pump.h"
#include "platform/name_text.h"
#include "platform/palette.h"
#include "platform/stage.h"
#include "state/kelvorn_service.h"

namespace kelvorn {

namespace {

constexpr unsigned kWhite = palette::kWhite;
constexpr unsigned kSilver = palette::kSilver;
constexpr unsigned kBoxFill = palette::kNormalBack;
constexpr unsigned kBoxBorderStart = palette::kBoxBorderStart;
constexpr unsigned kBoxBorderSetting = palette::kBoxBorderSetting;
constexpr unsigned kBoxBorderNormal = palette::kBoxBorderNormal;
constexpr unsigned kBarRed = palette::kMark;
constexpr unsigned kClockText = palette::kNormalText;
constexpr int kRefuseFlashMs = 1500;

constexpr double kBarFrameLeft[3] = {9360, 10200, 11040};
constexpr double kBarHeightFull = 4815;  // a bar at 100
constexpr double kBarBottom = 5535;
const char* const kBarLetters[3] = {"N", "A", "S"};
const char* const kNoTime = "00:00:00";

QLabel* makeLabel(QWidget* parent, const TwipScale& twips, const char* text, const char* family, double points,
                  unsigned colour, Qt::Alignment align) {
    auto* label = new QLabel(text, parent);
    styleLabel(label, twips, {family, points, true, colour, palette::kBackground, false, align});
    return label;
}

QString escaped(const std::string& bytes) { return decodeName(bytes).toHtmlEscaped(); }

}  // namespace

AlarmMenu::AlarmMenu(QWidget* stage, Services& services, Transitions& transitions, MainDisplay& display)
    : MenuScreen(stage, services),
      frame(this, services.twips,
            FrameLayout{"ALARM MENU", 5160, 5760, 840, 2520, 120, 2880, 2880, 9120, 2160, 4080, 3120, false}),
      MainButt(this, services.twips, {"   1 - ALARM ON/OFF", "   2 - SET ALARM"}, 2400,
               [this](int i) { MainButt_Click(i); }),
      transitions_(transitions),
      display_(display) {
    const TwipScale& twips = services.twips;
    const int thin = std::max(1, twips.px(kThinTwips));
    setColours(this, palette::kBlack, palette::kBackground, true);

    // The menu's own places: a narrower title, a blue "<<", buttons 840 twips apart.
    frame.MainLabel->setGeometry(twips.rect(5160, 5760, 3735, 615));
    setColours(frame.MainBack, palette::kNormalBack, palette::kBackground, false);
    MainButt[1]->setGeometry(twips.rect(3120, 3240, 6015, 615));
    connect(frame.MainBack, &ClickLabel::clicked, this, [this] { MainBack_Click(); });

    // Shapes before the labels they frame, so that the labels stay on top.
    Shape3 = new LineShape(this, kSilver, thin);
    Shape3->setGeometry(twips.rect(2880, 600, 6255, 1335));
    Shape4 = new LineShape(this, kSilver, thin);
    Shape4->setGeometry(twips.rect(2880, 4320, 6255, 1335));
    Shape2 = new LineShape(this, kBoxBorderStart, thin);
    Shape2->setFill(kBoxFill);
    Shape2->setGeometry(twips.rect(5880, 840, 3015, 855));

    Label1 = makeLabel(this, twips, "ALARM:", "Arial", 36, palette::kNormalBack, Qt::AlignCenter);
    Label1->setGeometry(twips.rect(3000, 840, 2895, 855));
    AlarmClock = makeLabel(this, twips, kNoTime, "Times New Roman", 36, kClockText, Qt::AlignRight | Qt::AlignVCenter);
    AlarmClock->setTextFormat(Qt::RichText);  // the cursor mark underlines one digit
    AlarmClock->setGeometry(twips.rect(5880, 840, 2895, 855));
    Label2 = makeLabel(this, twips, "ALARM IS OFF", "Arial", 36, palette::kNormalBack, Qt::AlignCenter);
    Label2->setGeometry(twips.rect(3000, 4560, 6015, 855));

    for (size_t k = 0; k < 3; ++k) {
        barFrames[k] = new LineShape(this, kSilver, thin);
        barFrames[k]->setGeometry(twips.rect(kBarFrameLeft[k], 600, 615, 5055));
        bars[k] = new LineShape(this, kBarRed);
        barLetters[k] = makeLabel(this, twips, kBarLetters[k], "Arial", 26.25, palette::kBlack, Qt::AlignCenter);
        barLetters[k]->setGeometry(twips.rect(kBarFrameLeft[k], 5040, 615, 615));
        placeBar(static_cast<int>(k) + 1);
    }

    RefuseTimer.setSingleShot(true);
    RefuseTimer.setInterval(kRefuseFlashMs);
    connect(&RefuseTimer, &QTimer::timeout, this, [this] { showClock(s.svc.AlarmTime); });

    showClock(s.svc.AlarmTime);
    showAlarmState();
    // Created hidden: the main screen's entry shows it through the open transition.
    hide();
}

// ---- keys -------------------------------------------------------------------------

void AlarmMenu::keyPressEvent(QKeyEvent* event) {
    const auto held = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
    if ((event->key() == Qt::Key_Right || event->key() == Qt::Key_Left) && !(event->modifiers() & held)) {
        event->accept();
        keyTyped(event->key() == Qt::Key_Right ? "9" : "7");
        return;
    }
    MenuScreen::keyPressEvent(event);
}

void AlarmMenu::keyTyped(const std::string& key) {
    if (SetAlarm) setModeKey(key);
    else normalKey(key);
}

// First match wins, in the table's order: the key settings before the digits.
void AlarmMenu::normalKey(const std::string& key) {
    const KelvornSERVICE& svc = s.svc;
    if (key == svc.KeyUp) {
        if (VolSelect != 0) VolumeUp();
        else MainButt.move(-1);
    } else if (key == svc.KeyDown) {
        if (VolSelect != 0) VolumeDown();
        else MainButt.move(+1);
    } else if (key == svc.KeyBack) {
        leave();
    } else if (key == svc.KeyOk) {
        MainButt_Click(MainButt.aktbutt());
    } else if (key == "1") {
        MainButt_Click(0);
    } else if (key == "2") {
        MainButt_Click(1);
    } else if (key == "7") {
        moveBarSelection(-1);
    } else if (key == "9") {
        moveBarSelection(+1);
    } else if (key == "5") {
        VolumeUp();
    } else if (key == "8") {
        VolumeDown();
    }
}

// Digits come first, so cursor left and right type "7" and "9" here.
void AlarmMenu::setModeKey(const std::string& key) {
    if (key.size() == 1 && key[0] >= '0' && key[0] <= '9') enterDigit(key[0]);
    else if (key == s.svc.KeyOk) confirmTime();
    else if (key == s.svc.KeyBack) cancelTime();
}

// ---- the two buttons ----------------------------------------------------------------

void AlarmMenu::MainButt_Click(int index) {
    if (index == 0) toggleAlarm();
    else if (index == 1) startSetting();
}

void AlarmMenu::toggleAlarm() {
    s.svc.AlarmOn = !s.svc.AlarmOn;
    showAlarmState();
    display_.showAlarm(s.svc.AlarmOn, s.svc.AlarmTime);
    WriteAlarm();
}

void AlarmMenu::startSetting() {
    if (RefuseTimer.isActive()) {  // a refused time is still flashing
        RefuseTimer.stop();
        showClock(s.svc.AlarmTime);
    }
    OldAlarm = s.svc.AlarmTime.empty() ? kNoTime : s.svc.AlarmTime;
    AlarmPos = 1;
    SetAlarm = true;
    Shape2->setColour(kBoxBorderSetting);
    // Only the hour and minute digits are edited; a shorter (hand-edited) time has no
    // place for them and starts from zero.
    TmpAlarm = shownTime_.size() >= 8 ? shownTime_ : kNoTime;
    showClock(TmpAlarm, AlarmPos);
}

// ---- set mode -------------------------------------------------------------------------

void AlarmMenu::enterDigit(char digit) {
    TmpAlarm[static_cast<size_t>(AlarmPos - 1)] = digit;
    ++AlarmPos;
    if (AlarmPos == 3) AlarmPos = 4;  // over the colon
    if (AlarmPos == 6) AlarmPos = 1;  // the seconds are never reached
    showClock(TmpAlarm, AlarmPos);
}

void AlarmMenu::confirmTime() {
    Shape2->setColour(kBoxBorderNormal);
    if (!secondOfDay(TmpAlarm)) {
        // An hour above 23 or a minute above 59 never comes, and an armed alarm that can
        // never sound is worse than none: the typed time flashes in the error colour and
        // the old one stays.
        SetAlarm = false;
        showClock(TmpAlarm);
        RefuseTimer.start();
        return;
    }
    s.svc.AlarmTime = TmpAlarm;
    showClock(s.svc.AlarmTime);
    // Shown on the main screen whether the alarm is armed or not.
    display_.showAlarmTime(s.svc.AlarmTime);
    WriteAlarm();
    SetAlarm = false;
}

void AlarmMenu::cancelTime() {
    Shape2->setColour(kBoxBorderNormal);
    showClock(OldAlarm);
    SetAlarm = false;
}

// ---- volume bars ------------------------------------------------------------------------

int& AlarmMenu::volumeOf(int bar) {
    if (bar == 2) return s.svc.VolAlarm;
    if (bar == 3) return s.svc.VolSleep;
    return s.svc.VolNormal;
}

void AlarmMenu::placeBar(int bar) {
    if (bar < 1 || bar > 3) return;
    // A hand-edited volume outside 0..100 shows as an empty or a full bar.
    const double height = kBarHeightFull * usableVolume(volumeOf(bar)) / 100;
    const auto k = static_cast<size_t>(bar - 1);
    bars[k]->setGeometry(s.twips.rect(kBarFrameLeft[k] + 120, kBarBottom - height, 375, height));
}

void AlarmMenu::paintSelection(int select, bool selected) {
    const unsigned colour = selected ? kWhite : kSilver;
    if (select >= 1 && select <= 3) {
        barFrames[static_cast<size_t>(select - 1)]->setColour(colour);
        return;
    }
    for (LineShape* line : {frame.Line1, frame.Line2, frame.Line3, frame.Line4, frame.Shape1}) line->setColour(colour);
}

void AlarmMenu::restoreOutputVolume() {
    const KelvornSERVICE& svc = s.svc;
    int volume = svc.VolNormal;
    if (svc.SleepOn) volume = svc.VolSleep;
    if (svc.AlarmBusy) volume = svc.VolAlarm;
    s.svc.VolumeSet = usableVolume(volume);
}

void AlarmMenu::moveBarSelection(int delta) {
    paintSelection(VolSelect, false);
    VolSelect = static_cast<int16_t>((VolSelect + delta + 4) % 4);
    paintSelection(VolSelect, true);
    if (VolSelect != 0) s.svc.VolumeSet = usableVolume(volumeOf(VolSelect));
    else restoreOutputVolume();
    SetWaveVolume(s);
}

void AlarmMenu::stepVolume(int delta) {
    if (VolSelect < 1 || VolSelect > 3) return;
    int& volume = volumeOf(VolSelect);
    // Steps start from what the bar shows; a value out of range that the user does not
    // move stays as the file holds it.
    const int shown = usableVolume(volume);
    if ((delta > 0 && shown >= 100) || (delta < 0 && shown <= 0)) return;
    volume = usableVolume(shown + delta);
    placeBar(VolSelect);
    s.svc.VolumeSet = volume;
    SetWaveVolume(s);
}

void AlarmMenu::VolumeUp() { stepVolume(+5); }
void AlarmMenu::VolumeDown() { stepVolume(-5); }

// ---- leaving ------------------------------------------------------------------------------

void AlarmMenu::leave() {
    if (transitions_.closing(*this)) return;  // a second back key while the screen closes
    WriteAlarm();
    restoreOutputVolume();
    SetWaveVolume(s);
    transitions_.backToMain(*this);
}

// "<<" leaves without writing, but the output must not stay at the level of the bar
// selected last (an alarm volume in the middle of normal play).
void AlarmMenu::MainBack_Click() {
    if (transitions_.closing(*this)) return;
    restoreOutputVolume();
    SetWaveVolume(s);
    transitions_.backToMain(*this);
}

// ---- displays -----------------------------------------------------------------------------

void AlarmMenu::showClock(const std::string& time, int markPos) {
    shownTime_ = time;
    // A time that never comes (hand-edited, or just refused) stands out; one being typed
    // is shown plainly.
    setColours(AlarmClock, markPos == 0 && !secondOfDay(time) ? palette::kErrorText : kClockText, palette::kBackground,
               false);
    if (markPos < 1 || static_cast<size_t>(markPos) > time.size()) {
        AlarmClock->setText(escaped(time));
        return;
    }
    const size_t at = static_cast<size_t>(markPos - 1);
    AlarmClock->setText(escaped(time.substr(0, at)) + "<u>" + escaped(time.substr(at, 1)) + "</u>" +
                        escaped(time.substr(at + 1)));
}

void AlarmMenu::showAlarmState() { Label2->setText(s.svc.AlarmOn ? "ALARM IS ON" : "ALARM IS OFF"); }

void AlarmMenu::ReadAlarm() {
    VolSelect = 0;
    if (!readAlarmSettings(s.svc, s.workDir)) return;  // defaults, no display touched
    const KelvornSERVICE& svc = s.svc;
    showClock(svc.AlarmTime);
    showAlarmState();
    display_.showAlarm(svc.AlarmOn, svc.AlarmTime);
    display_.showShuffle(svc.ShuffleOn);
}

void AlarmMenu::WriteAlarm() { noteSaved(s, writeAlarmSettings(s.svc, s.workDir)); }

// ---- fades --------------------------------------------------------------------------------

void AlarmMenu::FadeIn() {
    KelvornSERVICE& svc = s.svc;
    if (svc.AlarmTime.empty()) svc.AlarmTime = kNoTime;
    MainButt.highlight(MainButt.aktbutt());
    // Always back in normal mode, also after leaving by mouse while a time was set.
    if (SetAlarm) Shape2->setColour(kBoxBorderNormal);
    RefuseTimer.stop();
    SetAlarm = false;
    showClock(svc.AlarmTime);
    OldAlarm = svc.AlarmTime;

    for (int k = 1; k <= 3; ++k) {
        paintSelection(k, false);
        placeBar(k);
    }
    paintSelection(0, true);
    VolSelect = 0;

    const double gfx = svc.GFXSpeed;
    EventPump& pump = s.pump;
    frame.fadeIn(pump, gfx);
    MainButt.fadeIn(pump, gfx);
    delayK(pump, 5000, gfx);
    const auto step = [&](std::initializer_list<QWidget*> shown) {
        for (QWidget* w : shown) w->show();
        delayK(pump, 5000, gfx);
    };
    step({Shape3, Shape4});
    step({Label1, Label2});
    for (LineShape* f : barFrames) step({f});
    for (size_t k = 0; k < 3; ++k) step({bars[k], barLetters[k]});
    step({Shape2});
    AlarmClock->show();
}

void AlarmMenu::FadeOut() {
    frame.hideLines();
    MainButt.hide();
    for (QWidget* w : std::initializer_list<QWidget*>{Shape2, Shape3, Shape4, Label1, AlarmClock, Label2}) w->hide();
    for (size_t k = 0; k < 3; ++k) {
        barFrames[k]->hide();
        bars[k]->hide();
        barLetters[k]->hide();
    }
    frame.hideBackAndMark();
}

}  // namespace kelvorn
