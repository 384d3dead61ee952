// SPDX-License-Identifier: GPL-3.0-or-later
// The running jukebox: owns the platform services, the state and the screens, and
// runs the start-up sequence.
#pragma once
#include <QTimer>
#include <memory>
#include <string>

#include "core/black_screen.h"
#include "core/services.h"
#include "platform/clock.h"
#include "platform/event_pump.h"
#include "platform/random_source.h"
#include "platform/wave_volume.h"
#include "state/kelvorn_service.h"

namespace kelvorn {

class MediaPlayer;
class Stage;
class SingleInstance;
class ExitSignals;
class LircClient;
class MprisPlayer;
class KeepAwake;
class VelmotMAIN;
class UpdateForm;
class Transitions;
class SearchMenu;
class FullList;
class CustomList;
class PlayList;
class TmpList;
class AlphaInput;
class AlarmMenu;
class FullBlackForm;
class VideoForm;
class VideoListForm;

class Jukebox : private NightScreens {
public:
    explicit Jukebox(std::string workDir = ".");
    ~Jukebox();

    // What a start came to.
    enum class Started {
        Running,  // the jukebox is up: enter the event loop
        Raised,   // another instance runs and was brought to the front: end quietly
        Refused,  // it cannot run (the reason is on stderr): end with an error status
    };
    // The start-up sequence.
    Started start();

    KelvornSERVICE& state() { return svc_; }
    VelmotMAIN& mainScreen() { return *main_; }

private:
    // The archive from the cache, or by a scan without one; false when neither worked.
    bool loadArchive();
    void startRemote();
    // Screens are created on first use and kept, so their highlight and list
    // position survive between visits.
    UpdateForm& updateForm();
    SearchMenu& searchMenu();
    FullList& fullList();
    CustomList& customList();
    PlayList& playList();
    TmpList& tmpList();
    AlphaInput& alphaInput();
    AlarmMenu& alarmMenu();
    FullBlackForm& blackForm();
    // The clock's night sequences reach the black and video screens through these.
    BlackScreen& blackScreen() override;
    void stopVideo() override;
    VideoForm& videoForm();
    VideoListForm& videoList();
    void alphaSearch();
    void savePlaylist();
    void wireScreens();
    void writeSettingsNow();

    std::string workDir_;
    KelvornSERVICE svc_;
    QtEventPump pump_;
    SystemClock clock_;
    FixedSequenceRandom random_;
    WaveVolume volume_;
    std::unique_ptr<Stage> stage_;
    std::unique_ptr<MediaPlayer> MP1_;
    std::unique_ptr<MediaPlayer> VideoPlayer_;
    std::unique_ptr<MediaPlayer> tone_;
    QTimer settingsWrite_;  // Settings.kvx, once a run of changes has settled
    static constexpr int kSettingsSettleMs = 500;
    std::unique_ptr<Services> services_;
    std::unique_ptr<SingleInstance> instance_;
    std::unique_ptr<ExitSignals> exitSignals_;
    std::unique_ptr<LircClient> lirc_;
    std::unique_ptr<MprisPlayer> mpris_;
    std::unique_ptr<KeepAwake> keepAwake_;
    std::unique_ptr<Transitions> transitions_;
    VelmotMAIN* main_ = nullptr;
    UpdateForm* update_ = nullptr;
    SearchMenu* searchMenu_ = nullptr;
    FullList* fullList_ = nullptr;
    CustomList* customList_ = nullptr;
    PlayList* playList_ = nullptr;
    TmpList* tmpList_ = nullptr;
    AlphaInput* alphaInput_ = nullptr;
    AlarmMenu* alarmMenu_ = nullptr;
    FullBlackForm* blackScreen_ = nullptr;
    VideoForm* videoForm_ = nullptr;
    VideoListForm* videoList_ = nullptr;
};

}  // namespace kelvorn
