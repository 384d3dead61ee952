// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/jukebox.h"

#include <QCoreApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "alarm/alarm_menu.h"
#include "alarm/full_black_form.h"
#include "app/exit_signals.h"
#include "app/keep_awake.h"
#include "app/screen_blanking.h"
#include "app/single_instance.h"
#include "core/alarm_clock.h"
#include "core/start_settings.h"
#include "core/transitions.h"
#include "core/velmot_main.h"
#include "library/alpha_search.h"
#include "library/archive_scan.h"
#include "library/cash_list.h"
#include "library/media_paths.h"
#include "library/playlists.h"
#include "library/update_form.h"
#include "lists/custom_list.h"
#include "lists/full_list.h"
#include "lists/play_list.h"
#include "lists/tmp_list.h"
#include "lists/video_form.h"
#include "lists/video_list_form.h"
#include "menus/alpha_input.h"
#include "menus/search_menu.h"
#include "menus/text_entry.h"
#include "mpv/mpv_player.h"
#include "platform/cursor.h"
#include "platform/debug_log.h"
#include "platform/folder_listing.h"
#include "platform/private_folder.h"
#include "platform/stage.h"
#include "remote/lirc_client.h"
#include "remote/mpris.h"

namespace kelvorn {

Jukebox::Jukebox(std::string workDir) : workDir_(std::move(workDir)) {}

// The stage owns every screen, and the screens hold references to the services and
// players: it goes first.
Jukebox::~Jukebox() {
    keepAwake_.reset();
    mpris_.reset();
    lirc_.reset();
    exitSignals_.reset();
    stage_.reset();
}

Jukebox::Started Jukebox::start() {
    // First: a stop during the start-up ends it too, and a broken pipe never does.
    exitSignals_ = std::make_unique<ExitSignals>();
    // Keys, mouse and animation speed first: they shape everything after.
    readStartSettings(svc_, workDir_);
    if (!svc_.MouseOn) hideMouseCursor();

    QString why;
    const QString folder = privateFolder(&why);
    instance_ = std::make_unique<SingleInstance>(folder);
    const SingleInstance::Claim claim = folder.isEmpty() ? SingleInstance::Claim::Failed : instance_->claim();
    if (claim != SingleInstance::Claim::Claimed) {
        if (claim == SingleInstance::Claim::Raised) return Started::Raised;
        cannotStart((folder.isEmpty() ? why : instance_->why()).toStdString());
        return Started::Refused;
    }

    stage_ = std::make_unique<Stage>();
    MP1_ = std::make_unique<MpvPlayer>();
    VideoPlayer_ = std::make_unique<MpvPlayer>(MpvPlayer::Kind::Video);
    tone_ = std::make_unique<MpvPlayer>();
    for (MediaPlayer* player : {MP1_.get(), VideoPlayer_.get(), tone_.get()}) volume_.addPlayer(player);
    services_ = std::make_unique<Services>(Services{
        svc_, *MP1_, pump_, clock_, random_, volume_, stage_->twips(), workDir_, VideoPlayer_.get(), tone_.get(), {}});
    main_ = new VelmotMAIN(stage_.get(), *services_);
    main_->setGeometry(stage_->twips().mainArea());
    QObject::connect(main_, &VelmotMAIN::activationWanted, stage_.get(), &Stage::activate);
    QObject::connect(main_, &VelmotMAIN::exitWanted, [this] {
        if (settingsWrite_.isActive()) writeSettingsNow();  // a change just made is kept
        if (keepAwake_) keepAwake_->release();
        instance_->release();  // a later start finds no socket and no lock to clean up
        std::fflush(nullptr);
        std::_Exit(0);  // at once: playback is not stopped and nothing is saved
    });
    // A service manager's stop (or Ctrl+C, or a closed terminal) ends it the same way.
    QObject::connect(exitSignals_.get(), &ExitSignals::exitRequested, main_, &VelmotMAIN::exitProgram);
    transitions_ = std::make_unique<Transitions>(stage_.get(), *services_, *main_);
    wireScreens();
    QObject::connect(instance_.get(), &SingleInstance::raiseRequested, stage_.get(), [this] { stage_->activate(); });

    stage_->showStage();
    stage_->activate();
    main_->showScreen();
    main_->startReactivation();
    startRemote();

    // The alarm settings (and shuffle) and the normal volume before anything plays, so
    // that neither the intro nor the first song ever sounds above the normal volume.
    alarmMenu().ReadAlarm();
    svc_.VolumeSet = svc_.VolNormal;
    SetWaveVolume(*services_);

    const std::string intro = findFileNoCase(workDir_, "intro.avi");
    if (!intro.empty()) playIntroVideo(*services_, videoForm(), intro);

    main_->hideDecoration();
    main_->FadeOut();
    main_->show();
    stage_->activate();

    svc_.CustomCount = -1;
    svc_.ArchiveCount = -1;
    svc_.PlaylistCount = -1;
    svc_.ListMode = false;
    svc_.SnoozeOn = false;
    LoadVideoList(svc_, workDir_);
    // A cache that could not be read, or a music folder that could not be listed, is
    // never written back as an empty archive.
    if (loadArchive() && noteSaved(*services_, WriteCashList(svc_, workDir_))) debugEvent("cache");
    noteArchive(*services_);

    main_->startClock();
    main_->Timer1_Timer();
    main_->FadeIn();
    main_->highlight(0);
    // Keys typed during the build-up may have opened another screen: it keeps them.
    if (Screen* front = frontScreen(stage_.get())) front->setFocus();
    debugEvent("ready");
    // Phones, desktops and media keys through MPRIS, when there is a session bus.
    mpris_ = std::make_unique<MprisPlayer>(*services_, *main_);
    QObject::connect(mpris_.get(), &MprisPlayer::raiseWanted, stage_.get(), &Stage::activate);
    QObject::connect(mpris_.get(), &MprisPlayer::settingsChanged, &settingsWrite_, qOverload<>(&QTimer::start));
    mpris_->registerOnSessionBus();
    // No blanking, locking or suspend while it plays or an alarm waits.
    keepAwake_ = std::make_unique<KeepAwake>(
        svc_, std::vector<const MediaPlayer*>{MP1_.get(), VideoPlayer_.get(), tone_.get()}, main_->alarmClock(),
        QDBusConnection::sessionBus(), QDBusConnection::systemBus(), openScreenBlanking());
    keepAwake_->start();
    // libmpv is loaded once the main screen is up, not before: a jukebox that can never
    // play says so and ends rather than running silent.
    QTimer::singleShot(0, stage_.get(), [this] {
        if (MP1_->prepare()) return;
        cannotStart("the media player could not start (libmpv is missing or failed)");
        QCoreApplication::exit(EXIT_FAILURE);
    });
    return Started::Running;
}

// An infrared remote through lircd gives the same keys as the keyboard, resolved to
// the key settings of the moment of the press, to the screen in front.
void Jukebox::startRemote() {
    lirc_ = std::make_unique<LircClient>(workDir_, [this] {
        return RemoteKeys{svc_.KeyUp, svc_.KeyDown, svc_.KeyOk, svc_.KeyAlt, svc_.KeyBack};
    });
    QObject::connect(lirc_.get(), &LircClient::keyPressed, main_, &VelmotMAIN::remoteKey);
    lirc_->start();
}

bool Jukebox::loadArchive() {
    if (isNormalFile(cashListPath(workDir_))) return ReadCashList(svc_, workDir_);
    return ScanArchive(svc_, workDir_, pump_, updateForm());
}

UpdateForm& Jukebox::updateForm() {
    if (!update_) update_ = new UpdateForm(stage_.get(), stage_->twips());
    return *update_;
}

SearchMenu& Jukebox::searchMenu() {
    if (searchMenu_) return *searchMenu_;
    searchMenu_ = new SearchMenu(stage_.get(), *services_, *transitions_, updateForm());
    const auto opensList = [this](auto list) {
        return [this, list] {
            transitions_->open(*searchMenu_, (this->*list)(), [this, list] { (this->*list)().FillList(); });
        };
    };
    QObject::connect(searchMenu_, &SearchMenu::fullListWanted, opensList(&Jukebox::fullList));
    QObject::connect(searchMenu_, &SearchMenu::customListWanted, opensList(&Jukebox::customList));
    QObject::connect(searchMenu_, &SearchMenu::playlistsWanted, opensList(&Jukebox::playList));
    QObject::connect(searchMenu_, &SearchMenu::alphaSearchWanted, [this] { alphaSearch(); });
    QObject::connect(searchMenu_, &SearchMenu::savePlaylistWanted, [this] { savePlaylist(); });
    return *searchMenu_;
}

void Jukebox::alphaSearch() {
    AlphaInput& entry = alphaInput();
    if (!runTextEntry(*services_, *transitions_, searchMenu(), entry, "ALPHA SEARCH")) {
        transitions_->backToMain(entry);  // a cancelled search keeps the former results
        return;
    }
    AlphaSearch(svc_, svc_.AlphaText);
    TmpList& results = tmpList();
    transitions_->open(entry, results, [this, &results] {
        searchMenu().FadeOut();
        results.FillList();
        searchMenu().hide();
    });
}

void Jukebox::savePlaylist() {
    AlphaInput& entry = alphaInput();
    // "_" stays as typed in a playlist name. An empty list kept from overwriting a
    // playlist ends like a cancel; a failed save is shown once the main screen is back.
    const bool accepted = runTextEntry(*services_, *transitions_, searchMenu(), entry, "SAVE PLAYLIST");
    const SaveResult result = accepted ? SavePlaylist(svc_, svc_.AlphaText) : SaveResult::Kept;
    transitions_->backToMain(entry);
    noteSaved(*services_, result != SaveResult::Failed);
}

PlayList& Jukebox::playList() {
    if (!playList_) playList_ = new PlayList(stage_.get(), *services_, *transitions_);
    return *playList_;
}

TmpList& Jukebox::tmpList() {
    if (!tmpList_) tmpList_ = new TmpList(stage_.get(), *services_, *transitions_);
    return *tmpList_;
}

AlphaInput& Jukebox::alphaInput() {
    if (!alphaInput_) alphaInput_ = new AlphaInput(stage_.get(), *services_);
    return *alphaInput_;
}

FullList& Jukebox::fullList() {
    if (!fullList_) fullList_ = new FullList(stage_.get(), *services_, *transitions_);
    return *fullList_;
}

CustomList& Jukebox::customList() {
    if (!customList_) customList_ = new CustomList(stage_.get(), *services_, *transitions_);
    return *customList_;
}

void Jukebox::wireScreens() {
    QObject::connect(main_, &VelmotMAIN::listsMenuWanted, [this] { transitions_->open(*main_, searchMenu()); });
    QObject::connect(main_, &VelmotMAIN::alarmMenuWanted, [this] { transitions_->open(*main_, alarmMenu()); });
    // A run of changes (a phone's volume slider, shuffle switched again and again) is
    // written once, when it has settled.
    settingsWrite_.setSingleShot(true);
    settingsWrite_.setInterval(kSettingsSettleMs);
    QObject::connect(&settingsWrite_, &QTimer::timeout, [this] { writeSettingsNow(); });
    QObject::connect(main_, &VelmotMAIN::settingsChanged, &settingsWrite_, qOverload<>(&QTimer::start));
    QObject::connect(main_, &VelmotMAIN::blackScreenWanted, [this] {
        FullBlackForm& black = blackForm();
        black.showBlack();
        black.showIndicator(BlackScreen::Indicator::Black);
    });
    main_->alarmClock().setScreens(this);
    // The video list opens with its lines as the last FillList left them.
    QObject::connect(main_, &VelmotMAIN::videoListWanted, [this] { transitions_->open(*main_, videoList()); });
}

void Jukebox::writeSettingsNow() {
    settingsWrite_.stop();
    alarmMenu().WriteAlarm();
}

BlackScreen& Jukebox::blackScreen() { return blackForm(); }

void Jukebox::stopVideo() { stopVideoForSleep(*services_, videoForm()); }

VideoForm& Jukebox::videoForm() {
    if (!videoForm_) videoForm_ = new VideoForm(stage_.get(), *services_);
    return *videoForm_;
}

VideoListForm& Jukebox::videoList() {
    if (!videoList_) videoList_ = new VideoListForm(stage_.get(), *services_, *transitions_, videoForm());
    return *videoList_;
}

AlarmMenu& Jukebox::alarmMenu() {
    if (!alarmMenu_) alarmMenu_ = new AlarmMenu(stage_.get(), *services_, *transitions_, *main_);
    return *alarmMenu_;
}

FullBlackForm& Jukebox::blackForm() {
    if (!blackScreen_) {
        blackScreen_ = new FullBlackForm(stage_.get(), *services_);
        QObject::connect(blackScreen_, &FullBlackForm::activationWanted, stage_.get(), &Stage::activate);
    }
    return *blackScreen_;
}

}  // namespace kelvorn
