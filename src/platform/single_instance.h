// One running jukebox per user: a second start brings the first to the front.
#pragma once
#include <QObject>
#include <QString>

class QLocalServer;

namespace kelvorn {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QString name = defaultName(), QObject* parent = nullptr);
    // True when this process is the only instance (and now listens for later ones);
    // false when another runs: it has been asked to come to the front.
    bool claim();
    static QString defaultName();

signals:
    // A later start asked this instance to come to the front.
    void raiseRequested();

private:
    QString name_;
    QLocalServer* server_ = nullptr;
};

}  // namespace kelvorn
