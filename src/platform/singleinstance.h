#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

// Only one running copy of the program per user and settings goes on; the earlier one wins.
// The first copy listens on a local socket whose name is private to the user and the settings
// it runs with; a later copy that reaches it asks it to come forward and then quits.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // key tells programs apart that may run side by side (the settings file's name).
    explicit SingleInstance(const QString& key, QObject* parent = nullptr);

    // The socket's name for the key, for this user.
    static QString socketName(const QString& key);

    // True when an earlier copy answered: it has been asked to come forward, and this one should
    // quit.
    bool askRunningCopy();
    // Starts answering later copies; false when the socket could not be made (then every copy
    // runs on its own).
    bool listen();

signals:
    // A later copy asked this one to come forward.
    void forwardRequested();

private:
    void answer();

    QString m_name;
    QLocalServer m_server;
};
