// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/velmot_main.h"

#include <QLabel>

#include "core/display_name.h"
#include "core/key_input.h"
#include "core/main_keys.h"
#include "core/widgets.h"
#include "kelvorn_version.h"
#include "platform/cursor.h"
#include "platform/debug_log.h"
#include "platform/event_pump.h"
#include "platform/media_player.h"
#include "platform/name_text.h"
#include "platform/palette.h"
#include "platform/random_source.h"
#include "platform/stage.h"
#include "state/kelvorn_service.h"

namespace kelvorn {

namespace {

const char* const kAlarmCaption = "ALARM";
const char* const kSleepCaption = "SLEEP";

template <typename L>
L* place(L* w, const TwipScale& t, double left, double top, double width, double height) {
    w->setGeometry(t.rect(left, top, width, height));
    return w;
}

}  // namespace

VelmotMAIN::VelmotMAIN(QWidget* stage, Services& services)
    : MenuScreen(stage, services),
      frame(this, services.twips,
            FrameLayout{"MAIN MENU", 2760, 6720, 840, 3480, 120, 3840, 2880, 9120, 1680, 6360, 4080, true}),
      MainButt(this, services.twips,
               {"   1 - PLAY / SKIP", "   2 - STOP / RESUME", "   3 - LISTS MENU", "   4 - ALARM MENU",
                "   5 - SHUFFLE / NORMAL", "   6 - PLAY VIDEO"},
               1920, [this](int i) { MainButt_Click(i); }),
      engine_(services.svc, services.MP1, services.pump, services.random, services.clock),
      alarmClock_(services, *this, Timer1, Timer2) {
    const TwipScale& t = s.twips;
    setWindowTitle("kelvorn");
    services.notices = this;
    setColours(this, palette::kBlack, palette::kBackground, true);

    auto label = [&](const char* family, double pt, bool bold, unsigned colour, Qt::Alignment align, double l,
                     double top, double w, double h) {
        auto* lab = new QLabel(this);
        styleLabel(lab, t, {family, pt, bold, colour, palette::kBackground, false, align | Qt::AlignVCenter});
        return place(lab, t, l, top, w, h);
    };
    const Qt::Alignment left = Qt::AlignLeft, right = Qt::AlignRight;
    MainSong = label("Times New Roman", 30, false, palette::kNormalText, left, 240, 0, 8700, 735);
    MainInterpret = label("Times New Roman", 30, false, palette::kNormalText, left, 240, 8040, 6900, 735);
    MainClock = label("Times New Roman", 36, false, palette::kNormalText, right, 9120, 0, 2775, 735);
    MainTime = label("Times New Roman", 36, false, palette::kNormalText, right, 9120, 960, 2775, 735);
    SleepDisplay = label("Times New Roman", 36, false, palette::kNormalBack, right, 9120, 2520, 2775, 735);
    AlarmTimeDisplay = label("Times New Roman", 36, false, palette::kHighlightText, right, 9120, 5400, 2775, 735);
    ShuffleStatus = label("Times New Roman", 26, true, palette::kNormalBack, right, -480, 1920, 3135, 735);
    SleepStatus = label("Times New Roman", 26, true, palette::kNormalBack, right, -480, 2640, 3135, 735);
    SnoozeStatus = label("Times New Roman", 26, true, palette::kSnoozeText, right, -120, 4920, 2775, 735);
    AlarmStatus = label("Times New Roman", 26, true, palette::kHighlightText, right, -120, 5520, 2775, 735);
    Label1 = label("Arial", 8, true, palette::kWhite, left, 6480, 7560, 1200, 240);
    Label1->setText(QStringLiteral("V.") + QString::fromLatin1(kShortVersion));
    // Right of the artist, below where the menu and list screens end.
    Notice = label("Times New Roman", 26, true, palette::kErrorText, right, 7200, 8040, 4695, 735);
    Notice->hide();
    NoticeTimer.setSingleShot(true);
    connect(&NoticeTimer, &QTimer::timeout, Notice, &QWidget::hide);

    connect(frame.MainBack, &ClickLabel::clicked, this, [this] { exitProgram(); });
    Timer1.setInterval(100);
    Timer2.setInterval(100);
    Timer3.setInterval(1200);
    connect(&Timer1, &QTimer::timeout, this, &VelmotMAIN::Timer1_Timer);
    connect(&Timer2, &QTimer::timeout, this, &VelmotMAIN::Timer2_Timer);
    connect(&Timer3, &QTimer::timeout, this, &VelmotMAIN::Timer3_Timer);
    Timer2.start();  // playback runs from the creation of the screen on

    engine_.showSong = [this](const std::string&) { showSongName(); };
    // Tags come a moment after the song opened; a song named without them is shown anew.
    connect(&s.MP1, &MediaPlayer::tagsRead, this, &VelmotMAIN::showSongName);
    engine_.songStarted = [](const std::string& file) { debugEvent("playing", file); };
    engine_.nothingPlayable = [this] { alarmClock_.nothingPlayable(); };
    connect(&s.MP1, &MediaPlayer::stateChanged, this, &VelmotMAIN::player_stateChanged);
}

void VelmotMAIN::keyTyped(const std::string& key) {
    KelvornSERVICE& svc = s.svc;
    const MainKey k = mainKeyFor(key, svc);
    switch (k.action) {
    case MainAction::Up: MainButt.move(-1); break;
    case MainAction::Down: MainButt.move(+1); break;
    case MainAction::Back: command(MainCommand::Back); break;
    case MainAction::Ok: MainButt_Click(MainButt.aktbutt()); break;
    case MainAction::Button: MainButt_Click(k.button); break;
    case MainAction::Previous: command(MainCommand::Previous); break;
    case MainAction::SeekBack: command(MainCommand::SeekBack); break;
    case MainAction::SeekForward: command(MainCommand::SeekForward); break;
    case MainAction::SleepSnooze: command(MainCommand::SleepSnooze); break;
    case MainAction::None: break;
    }
    if (key != svc.KeyBack) svc.BackCount = 0;
}

void VelmotMAIN::MainButt_Click(int index) {
    if (index >= 0 && index < 6) command(buttonCommand(index));
}

void VelmotMAIN::remoteKey(const QString& text) {
    // The key that answers the alarm's tone goes no further, as a typed one.
    if (alarmClock_.userInput()) return;
    if (Screen* front = frontScreen(parentWidget())) front->takeKey(keyBytes(text));
}

bool VelmotMAIN::command(MainCommand command, double seconds) {
    KelvornSERVICE& svc = s.svc;
    // A half-built archive takes no command; an input that silences the tone does nothing else.
    if (svc.Scanning || alarmClock_.userInput()) return false;
    if (command != MainCommand::Back) svc.BackCount = 0;
    const MediaPlayer::PlayState state = s.MP1.playState();
    switch (command) {
    case MainCommand::PlaySkip:
        if (svc.playingCount() < 0) showNotice(kNoSongsFound);
        // Play always starts a new song (resuming a pause is STOP / RESUME).
        if (svc.PlayOn) requestSkip(svc, s.random);
        else requestSong(svc, svc.ListMode, svc.ShuffleOn ? shuffleDraw(s.random.rnd(), svc.playingCount()) : 0);
        break;
    case MainCommand::StopResume:
        if (state == MediaPlayer::Playing) {
            svc.PlayOn = false;
            s.MP1.pause();
        } else if (state == MediaPlayer::Paused) {
            s.MP1.play();
            svc.PlayOn = true;
        } else {
            // Nothing plays while the engine goes on trying songs that do not open:
            // STOP stops that too.
            svc.PlayOn = false;
        }
        break;
    case MainCommand::ListsMenu: emit listsMenuWanted(); break;
    case MainCommand::AlarmMenu: emit alarmMenuWanted(); break;
    case MainCommand::Shuffle:
        svc.ShuffleOn = !svc.ShuffleOn;
        showShuffle(svc.ShuffleOn);
        emit settingsChanged();
        break;
    case MainCommand::VideoList: emit videoListWanted(); break;
    case MainCommand::Previous: requestPrevious(svc); break;
    case MainCommand::SeekBack: return this->command(MainCommand::SeekTo, seekBackTarget(s.MP1.position()));
    case MainCommand::SeekForward: return this->command(MainCommand::SeekTo, s.MP1.position() + 10);
    case MainCommand::SleepSnooze: alarmClock_.sleepSnoozeKey(); break;
    case MainCommand::Back:
        ++svc.BackCount;
        if (svc.BackCount == 1) emit blackScreenWanted();
        if (svc.BackCount == 3) exitProgram();
        s.pump.pass();
        break;
    case MainCommand::Play:
        if (state == MediaPlayer::Paused) return this->command(MainCommand::StopResume);
        if (state == MediaPlayer::Stopped && !svc.PlayOn) return this->command(MainCommand::PlaySkip);
        break;
    case MainCommand::Pause:
        if (state == MediaPlayer::Playing) return this->command(MainCommand::StopResume);
        break;
    case MainCommand::Stop:
        svc.PlayOn = false;
        s.MP1.stop();
        break;
    case MainCommand::SeekTo:
        s.MP1.setPosition(seconds);
        emit seeked(s.MP1.position());
        break;
    }
    return true;
}

void VelmotMAIN::exitProgram() {
    if (!s.svc.MouseOn) showMouseCursor();
    emit exitWanted();
}

void VelmotMAIN::hideDecoration() {
    frame.hide();
    for (int i = 0; i < 5; ++i) MainButt[i]->hide();
}

void VelmotMAIN::FadeOut() {
    for (QWidget* w : {ShuffleStatus, SleepStatus, SnoozeStatus, AlarmStatus, AlarmTimeDisplay}) w->hide();
    frame.hideLines();
    MainButt.hide();
    frame.hideBackAndMark();
}

void VelmotMAIN::FadeIn() {
    KelvornSERVICE& svc = s.svc;
    // A caption whose flag is off keeps what it shows.
    if (svc.AlarmOn) AlarmStatus->setText(kAlarmCaption);
    if (svc.ShuffleOn) showShuffle(true);
    if (svc.SnoozeOn) showSnooze(true);
    if (svc.SleepOn) SleepStatus->setText(kSleepCaption);
    for (QWidget* w : {AlarmStatus, AlarmTimeDisplay, SnoozeStatus, SleepStatus, ShuffleStatus}) w->show();
    frame.fadeIn(s.pump, svc.GFXSpeed);
    MainButt.fadeIn(s.pump, svc.GFXSpeed);
}

void VelmotMAIN::showNotice(const QString& text, int ms) {
    debugEvent("notice", text.toStdString());
    Notice->setText(text);
    Notice->show();
    Notice->raise();
    NoticeTimer.start(ms);
}

void VelmotMAIN::showSongName() {
    const DisplayName name = songDisplay(engine_.tmpstr(), s.MP1.tags());
    MainSong->setText(decodeName(name.title));
    MainInterpret->setText(decodeName(name.artist));
    shownFile_ = s.MP1.fileName();
    emit songShown();
}

void VelmotMAIN::showClock(const std::string& time) { MainClock->setText(QString::fromStdString(time)); }

void VelmotMAIN::showElapsed(const std::string& time) { MainTime->setText(QString::fromStdString(time)); }

void VelmotMAIN::showSleep(bool on) {
    SleepStatus->setText(on ? kSleepCaption : "");
    if (!on) SleepDisplay->clear();
}

void VelmotMAIN::showSleepLeft(const std::string& time) { SleepDisplay->setText(QString::fromStdString(time)); }

void VelmotMAIN::showSnooze(bool on) { SnoozeStatus->setText(on ? "SNOOZE" : ""); }

void VelmotMAIN::showAlarm(bool armed, const std::string& time) {
    AlarmStatus->setText(armed ? kAlarmCaption : "");
    if (armed) showAlarmTime(time);
    else AlarmTimeDisplay->clear();
}

void VelmotMAIN::showAlarmTime(const std::string& time) { AlarmTimeDisplay->setText(decodeName(time)); }

void VelmotMAIN::showShuffle(bool on) { ShuffleStatus->setText(on ? "SHUFFLE" : ""); }

void VelmotMAIN::bringToFront() {
    showScreen();
    FadeIn();
}

void VelmotMAIN::stopTimers() {
    Timer1.stop();
    Timer2.stop();
}

QString VelmotMAIN::shown(Field field) const {
    const QLabel* labels[] = {MainSong,      MainInterpret, MainClock,    MainTime,    SleepDisplay, AlarmTimeDisplay,
                              ShuffleStatus, SleepStatus,   SnoozeStatus, AlarmStatus, Notice};
    return labels[static_cast<int>(field)]->text();
}

bool VelmotMAIN::noticeVisible() const { return Notice->isVisibleTo(this); }

void VelmotMAIN::Timer1_Timer() { alarmClock_.tick(); }

void VelmotMAIN::Timer2_Timer() { engine_.tick(); }

void VelmotMAIN::Timer3_Timer() {
    if (!s.svc.VideoMode) emit activationWanted();
}

void VelmotMAIN::player_stateChanged() {
    const MediaPlayer::PlayState state = s.MP1.playState();
    if (state == MediaPlayer::Stopped && lastPlayState_ == MediaPlayer::Playing) {
        debugEvent("ended");
        // The song ended: let the engine pick the next one now instead of up to a tick later.
        if (s.svc.PlayOn) QTimer::singleShot(0, this, &VelmotMAIN::Timer2_Timer);
    }
    lastPlayState_ = state;
}

}  // namespace kelvorn
