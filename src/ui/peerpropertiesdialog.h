#pragma once

#include "library/folderkey.h"
#include "ui/protocollistener.h"

#include <string>
#include <vector>

class ChatLink;
class QLabel;
class QLineEdit;
class QPushButton;

// What the properties window of a network computer shows of it, copied from its folder when the
// window is made.
struct PeerDetails {
    FolderKey folder; // the computer's folder in the network collection
    std::vector<int> ancestors; // the folders above it, nearest first
    std::string user;
    std::string comment;
    int32_t loginTime = 0; // seconds since 1970-01-01 UTC
};

// "<user> のプロパティ": a logged-in user's name, description, login time and idle time (from the
// PROFILE answers, whoever they were about), a one-off message, and the delay of a PING round
// trip. It closes on 閉じる, Escape, a sent message, the user's logout, the loss of the connection
// and the removal of its folder. The properties query (window notice kind 5 with its folder)
// brings it forward.
class PeerPropertiesDialog : public ProtocolListener {
    Q_OBJECT
public:
    PeerPropertiesDialog(ChatLink& link, PeerDetails details);

    const PeerDetails& details() const { return m_details; }

    QLabel* nameField() const { return m_name; }
    QLabel* commentField() const { return m_comment; }
    QLabel* loginTimeField() const { return m_loginTime; }
    QLabel* idleField() const { return m_idle; }
    QLineEdit* messageEdit() const { return m_message; }
    QPushButton* sendButton() const { return m_send; }
    QPushButton* pingButton() const { return m_ping; }
    QLabel* pingResult() const { return m_pingResult; }
    QPushButton* closeButton() const { return m_close; }

    // 接続状況: asks the server for the round trip to the user.
    void ping();
    // 送信 (closeWhenEmpty false) and Enter (true): sends the message, trimmed, and closes; an
    // empty message is not sent.
    void sendMessage(bool closeWhenEmpty);

    int32_t onLogout(const LogoutNotice& notice, int32_t count) override;
    int32_t onModComment(const ModCommentNotice& notice, int32_t count) override;
    int32_t onPong(const PongNotice& notice, int32_t count) override;
    int32_t onProfile(const ProfileNotice& notice, int32_t count) override;
    int32_t onConnectionLost(const ConnectionLostNotice& notice, int32_t count) override;
    int32_t onWindow(const WindowNotice& notice, int32_t count) override;

protected:
    bool initDialog() override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    ChatLink& m_link;
    PeerDetails m_details;
    QLabel* m_name = nullptr;
    QLabel* m_comment = nullptr;
    QLabel* m_loginTime = nullptr;
    QLabel* m_idle = nullptr;
    QLineEdit* m_message = nullptr;
    QPushButton* m_send = nullptr;
    QPushButton* m_ping = nullptr;
    QLabel* m_pingResult = nullptr;
    QPushButton* m_close = nullptr;
};
