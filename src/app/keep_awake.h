// SPDX-License-Identifier: GPL-3.0-or-later
// Keeps the machine and the TV awake while the jukebox plays or an alarm waits: the
// desktop's idle inhibition, logind's sleep lock and the X server's screen saver follow
// the state, looked at every second.
#pragma once
#include <QDBusConnection>
#include <QObject>
#include <QTimer>
#include <memory>
#include <vector>

#include "app/awake_needs.h"

namespace kelvorn {

class BusInhibition;
class ScreenBlanking;

class KeepAwake : public QObject {
public:
    // `players` are those whose playing counts; the desktop is asked on `session`, logind
    // on `system`. Either bus may be unconnected: that part then does nothing.
    KeepAwake(const KelvornSERVICE& svc, std::vector<const MediaPlayer*> players, const AlarmClock& alarm,
              const QDBusConnection& session, const QDBusConnection& system, std::unique_ptr<ScreenBlanking> screen);
    ~KeepAwake() override;

    // Looks at the state now and then every second.
    void start();
    // Brings the inhibitions in line with the state; wakes the screen when an alarm
    // starts to sound.
    void update();
    // Stops looking and gives everything back, waiting briefly for the desktop: for the
    // exit, where no destructor runs. A second call does nothing.
    void release();
    // Every request has had its answer.
    bool settled() const;

private:
    const KelvornSERVICE& svc_;
    std::vector<const MediaPlayer*> players_;
    const AlarmClock& alarm_;
    QDBusConnection session_;
    std::unique_ptr<BusInhibition> idle_;
    std::unique_ptr<BusInhibition> sleep_;
    std::unique_ptr<ScreenBlanking> screen_;
    QTimer timer_;
    AwakeReasons reasons_;
    bool sounding_ = false;
};

}  // namespace kelvorn
