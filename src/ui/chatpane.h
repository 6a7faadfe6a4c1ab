#pragma once

#include "ui/commandids.h"
#include "ui/commandtarget.h"

#include <QRect>
#include <QSize>
#include <QWidget>

#include <vector>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The broadcast chat pane: the lower right pane of the main window. Offline, its transcript and
// input are read-only, 送信 is disabled and the connect button shows; online, the reverse.
class ChatPane : public QWidget, public CommandTarget {
    Q_OBJECT
public:
    explicit ChatPane(QWidget* parent = nullptr);

    void setOffline(bool offline);
    bool isOffline() const { return m_offline; }

    QPlainTextEdit* transcript() const { return m_transcript; }
    QLineEdit* input() const { return m_input; }
    QPushButton* sendButton() const { return m_send; }
    QPushButton* connectButton() const { return m_connect; }

signals:
    // A button of the pane asks for a command; the main frame routes it with this pane first.
    void commandRequested(CommandId id);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // Each control keeps its distances to the right and bottom edges from the designed layout.
    struct Anchored {
        QWidget* widget;
        QRect designed;
        bool growWidth;
        bool growHeight;
        bool followRight;
        bool followBottom;
    };

    QPlainTextEdit* m_transcript = nullptr;
    QLineEdit* m_input = nullptr;
    QPushButton* m_send = nullptr;
    QPushButton* m_connect = nullptr;
    QSize m_designedSize;
    std::vector<Anchored> m_anchored;
    bool m_offline = true;
};
