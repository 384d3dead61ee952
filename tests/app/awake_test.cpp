// SPDX-License-Identifier: GPL-3.0-or-later
// Staying awake: the state's reasons, and the inhibitions from a stand-in desktop and logind.
#include "app/keep_awake.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <QDBusContext>
#include <QDBusUnixFileDescriptor>
#include <algorithm>
#include <set>

#include "app/null_screen_blanking.h"
#include "fakes/core_test_rig.h"
#include "fakes/private_bus.h"
#include "fakes/wait_for.h"

using namespace kelvorn;

namespace {

// org.freedesktop.ScreenSaver as a desktop has it: the cookies out and not given back.
class StandInScreenSaver : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")
public:
    std::set<uint> live;
    uint last = 0;
    size_t most = 0;  // the most cookies out at once
    QStringList asked;
    int activity = 0;

public slots:
    uint Inhibit(const QString& application, const QString& reason) {
        asked << application + ": " + reason;
        live.insert(++last);
        most = std::max(most, live.size());
        return last;
    }
    void UnInhibit(uint cookie) { live.erase(cookie); }
    void SimulateUserActivity() { ++activity; }
};

// logind's Manager: a lock is the read end of a pipe, held while it is open somewhere.
class StandInLogind : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")
public:
    bool refuse = false;
    QStringList asked;
    ~StandInLogind() override {
        for (int fd : writeEnds_) ::close(fd);
    }
    int locksHeld() const {
        return static_cast<int>(std::count_if(writeEnds_.begin(), writeEnds_.end(), [](int fd) {
            pollfd p{fd, POLLOUT, 0};
            return ::poll(&p, 1, 0) == 1 && !(p.revents & POLLERR);
        }));
    }

public slots:
    QDBusUnixFileDescriptor Inhibit(const QString& what, const QString& who, const QString& why, const QString& mode) {
        asked << QStringList{what, who, why, mode}.join(' ');
        if (refuse) {
            sendErrorReply(QDBusError::AccessDenied, "Permission denied");
            return {};
        }
        int ends[2];
        if (::pipe(ends) != 0) return {};
        writeEnds_.push_back(ends[1]);
        QDBusUnixFileDescriptor lock(ends[0]);  // a copy: the test keeps no read end
        ::close(ends[0]);
        return lock;
    }

private:
    std::vector<int> writeEnds_;
};

struct AwakeRig : CoreRig {
    PrivateBus bus;
    StandInScreenSaver saver;
    StandInLogind logind;
    std::unique_ptr<KeepAwake> awake;

    // The stand-ins on one connection, the jukebox on another, as both of its buses.
    bool start() {
        if (!bus.start()) return false;
        QDBusConnection standIns = bus.connect("stand-ins");
        for (auto [name, object] : {std::pair<QString, QObject*>{"org.freedesktop.ScreenSaver", &saver},
                                    {"org.freedesktop.login1", &logind}}) {
            standIns.registerObject("/" + QString(name).replace('.', '/'), object, QDBusConnection::ExportAllSlots);
            standIns.registerService(name);
        }
        const QDBusConnection jukebox = bus.connect("jukebox");
        awake = std::make_unique<KeepAwake>(svc, std::vector<const MediaPlayer*>{&player, &video}, main->alarmClock(),
                                            jukebox, jukebox, std::make_unique<NullScreenBlanking>());
        awake->start();
        return true;
    }
    // Updates, then waits until the stand-ins hold this many cookies and locks.
    bool holds(size_t cookies, int locks) {
        awake->update();
        return waitFor([&] { return awake->settled() && saver.live.size() == cookies && logind.locksHeld() == locks; },
                       3000);
    }
    // "idle reason / sleep reason", "-" for none.
    std::string reasons() const {
        const AwakeReasons r = awakeReasons(awakeNeeds(svc, {&player, &video}, main->alarmClock()));
        return r.idle.value_or("-") + " / " + r.sleep.value_or("-");
    }
};

}  // namespace

// Each reason alone and together; an armed alarm names its time (if it is one), as a snooze holds off suspend.
TEST(KeepAwake, TheStateGivesItsReasons) {
    AwakeRig rig;
    EXPECT_EQ(rig.reasons(), "- / -");
    rig.svc.PlayOn = true;
    EXPECT_EQ(rig.reasons(), "Playing / -");
    rig.svc.PlayOn = false;
    rig.video.open("/videos/v.avi");
    rig.video.play();
    EXPECT_EQ(rig.reasons(), "Playing / -");
    rig.video.pause();
    EXPECT_EQ(rig.reasons(), "- / -");
    rig.svc.VideoPlaying = true;
    EXPECT_EQ(rig.reasons(), "Playing / -");
    rig.svc.SleepOn = true;
    EXPECT_EQ(rig.reasons(), "Sleep timer / -");
    rig.svc.SnoozeOn = true;
    EXPECT_EQ(rig.reasons(), "Snooze / Snooze");
    rig.svc.AlarmOn = true;
    rig.svc.AlarmTime = " 06:45:30 ";
    EXPECT_EQ(rig.reasons(), "Alarm armed for 06:45 / Alarm armed for 06:45");
    rig.svc.AlarmTime = "29:75:00";
    EXPECT_EQ(rig.reasons(), "Alarm armed / Alarm armed");
    // The alarm sounds (its own tone: nothing to play under /music), disarmed meanwhile.
    rig.svc.SleepOn = rig.svc.SnoozeOn = rig.svc.VideoPlaying = false;
    rig.svc.AlarmTime = "07:00:00";
    rig.clock.set(7, 0);
    rig.main->Timer1_Timer();
    rig.svc.AlarmOn = false;
    EXPECT_EQ(rig.reasons(), "Alarm / -");
}

// One cookie at most, given back when unneeded; logind's lock only while armed; the screen
// woken once as the alarm starts; all given back at the exit.
TEST(KeepAwake, TakesAndGivesBackTheInhibitions) {
    AwakeRig rig;
    if (!rig.start()) GTEST_SKIP() << "no dbus-daemon to run a private bus";
    ASSERT_TRUE(rig.holds(0, 0));
    rig.setArchive({"a.mp3"});
    rig.type("1");  // PLAY
    rig.main->Timer2_Timer();
    ASSERT_TRUE(rig.holds(1, 0));
    rig.type("2");  // paused: nothing needs it
    ASSERT_TRUE(rig.holds(0, 0));
    // A new reason returns the old cookie first, even one still asked for; a late answer goes back at once.
    rig.svc.SleepOn = true;
    rig.awake->update();
    rig.svc.AlarmOn = true;
    rig.svc.AlarmTime = "07:00:00";
    ASSERT_TRUE(rig.holds(1, 1));
    rig.svc.AlarmTime = "06:30:00";
    rig.awake->update();
    rig.svc.SleepOn = rig.svc.AlarmOn = false;
    ASSERT_TRUE(rig.holds(0, 0));
    EXPECT_EQ(rig.saver.most, 1u);
    EXPECT_EQ(rig.saver.asked.join(", ").toStdString(),
              "Kelvorn: Playing, Kelvorn: Sleep timer, Kelvorn: Alarm armed for 07:00, "
              "Kelvorn: Alarm armed for 06:30");
    EXPECT_EQ(rig.logind.asked.join(", ").toStdString(),
              "sleep Kelvorn Alarm armed for 07:00 block, sleep Kelvorn Alarm armed for 06:30 block");

    rig.svc.AlarmOn = true;
    rig.svc.AlarmTime = "07:00:00";
    rig.clock.set(7, 0);
    rig.main->Timer1_Timer();  // the alarm starts
    ASSERT_TRUE(rig.holds(1, 1));
    rig.awake->update();
    EXPECT_TRUE(waitFor([&] { return rig.saver.activity == 1; }, 3000));
    rig.awake->release();  // as at the exit
    EXPECT_EQ(rig.logind.locksHeld(), 0);
    EXPECT_TRUE(rig.holds(0, 0));
    EXPECT_EQ(rig.saver.activity, 1);
}

// A logind that refuses leaves the desktop's part working and is not asked again.
TEST(KeepAwake, ALogindThatRefusesChangesNothingElse) {
    AwakeRig rig;
    if (!rig.start()) GTEST_SKIP() << "no dbus-daemon to run a private bus";
    rig.logind.refuse = true;
    rig.svc.AlarmOn = true;
    ASSERT_TRUE(rig.holds(1, 0));
    EXPECT_TRUE(rig.holds(1, 0));
    EXPECT_EQ(rig.logind.asked.size(), 1);
    rig.svc.AlarmOn = false;
    EXPECT_TRUE(rig.holds(0, 0));
}

#include "awake_test.moc"
