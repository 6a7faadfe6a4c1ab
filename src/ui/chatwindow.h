#pragma once

#include "ui/anchoredlayout.h"
#include "ui/protocollistener.h"

#include <string>
#include <string_view>

class ChatLink;
class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
struct TellNotice;

// チャット: a private conversation with one user. Enter or 送信 sends the input to the peer and
// shows it; the peer's messages arrive as TELL notices. The peer's logout disables sending (the
// window stays), the next login enables it again. The window closes with its close button or
// 閉じる (Escape does nothing), when the connection is lost and on every disconnect. The chat
// query (window notice kind 20 with the peer's name) brings it forward.
class ChatWindow : public ProtocolListener {
    Q_OBJECT
public:
    ChatWindow(ChatLink& link, std::string peer);

    const std::string& peer() const { return m_peer; }

    QPlainTextEdit* transcript() const { return m_transcript; }
    QLineEdit* input() const { return m_input; }
    QPushButton* sendButton() const { return m_send; }
    QPushButton* profileButton() const { return m_profile; }
    QPushButton* closeButton() const { return m_close; }
    QCheckBox* bellBox() const { return m_bell; }
    QCheckBox* raiseBox() const { return m_raise; }

    // Adds CP932 text at the end of the transcript (no line limit).
    void append(std::string_view cp932Text);
    // Sends what the input holds, unless it is only spaces and tabs.
    void sendInput();
    // Makes the window the top one without activating, moving or resizing it; a minimised window
    // is restored first.
    void bringToTop();

    // Opens at the top left of the screen rather than on the frame.
    void placeOnOpen(const QWidget* frame) override;

    int32_t onLogin(const LoginNotice& notice, int32_t count) override;
    int32_t onLogout(const LogoutNotice& notice, int32_t count) override;
    int32_t onTell(const TellNotice& notice, int32_t count) override;
    int32_t onConnectionLost(const ConnectionLostNotice& notice, int32_t count) override;
    int32_t onWindow(const WindowNotice& notice, int32_t count) override;

    // Where a new chat window opens, in screen coordinates.
    static constexpr QPoint openPosition { 2, 2 };

protected:
    bool initDialog() override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void setPeerOnline(bool online);

    ChatLink& m_link;
    std::string m_peer;
    AnchoredLayout m_layout;
    QPlainTextEdit* m_transcript = nullptr;
    QLineEdit* m_input = nullptr;
    QPushButton* m_send = nullptr;
    QPushButton* m_profile = nullptr;
    QPushButton* m_close = nullptr;
    QCheckBox* m_bell = nullptr;
    QCheckBox* m_raise = nullptr;
};
