#pragma once

#include "ui/anchoredlayout.h"
#include "ui/commandids.h"
#include "ui/commandtarget.h"

#include <QWidget>

#include <string>
#include <string_view>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The broadcast chat pane: the lower right pane of the main window. Offline, its transcript and
// input are read-only, 送信 is disabled and the connect button shows; online, the reverse.
//
// Enter in the input, or 送信, takes the input's text, empties the input and, when anything but
// white space was typed, asks for it to be broadcast. Enter does so even while 送信 is disabled.
class ChatPane : public QWidget, public CommandTarget {
    Q_OBJECT
public:
    // The transcript keeps at most this many lines (counting the empty one after the last line
    // break); past it, the oldest droppedLines go at once.
    static constexpr int maxLines = 300;
    static constexpr int droppedLines = 60;

    explicit ChatPane(QWidget* parent = nullptr);

    void setOffline(bool offline);
    bool isOffline() const { return m_offline; }

    // Adds CP932 text (lines ending in CR LF) at the end of the transcript and scrolls to it.
    void append(std::string_view cp932Text);

    QPlainTextEdit* transcript() const { return m_transcript; }
    QLineEdit* input() const { return m_input; }
    QPushButton* sendButton() const { return m_send; }
    QPushButton* connectButton() const { return m_connect; }

signals:
    // A button of the pane asks for a command; the main frame routes it with this pane first.
    void commandRequested(CommandId id);
    // The user sent a line to everybody: the input's text in CP932 with the spaces, tabs and line
    // breaks at both ends trimmed, never empty.
    void broadcastRequested(const std::string& cp932Text);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void sendInput();

    QPlainTextEdit* m_transcript = nullptr;
    QLineEdit* m_input = nullptr;
    QPushButton* m_send = nullptr;
    QPushButton* m_connect = nullptr;
    AnchoredLayout m_layout;
    bool m_offline = true;
};
