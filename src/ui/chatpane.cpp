#include "ui/chatpane.h"

#include "net/bytestring.h"
#include "platform/sjis.h"
#include "text/texts.h"
#include "ui/dialogunits.h"
#include "ui/transcript.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>

ChatPane::ChatPane(QWidget* parent)
    : QWidget(parent)
{
    using dialogunits::toPixels;
    m_layout.setDesignedSize(toPixels(QSize(340, 250)));

    m_connect = new QPushButton(fromSjis(texts::chatConnect.bytes()), this);
    m_transcript = new QPlainTextEdit(this);
    m_input = new QLineEdit(this);
    m_send = new QPushButton(fromSjis(texts::chatSend.bytes()), this);

    transcript::setUp(*m_transcript);

    using A = AnchoredLayout;
    m_layout.add(m_connect, toPixels(246, 4, 90, 14), A::FollowRight);
    m_layout.add(m_transcript, toPixels(4, 22, 332, 204), A::GrowWidth | A::GrowHeight);
    m_layout.add(m_input, toPixels(4, 231, 280, 14), A::GrowWidth | A::FollowBottom);
    m_layout.add(m_send, toPixels(288, 231, 48, 14), A::FollowRight | A::FollowBottom);

    setFocusProxy(m_input);
    setMinimumSize(10, 10);
    connect(m_connect, &QPushButton::clicked, this,
        [this] { emit commandRequested(CommandId::Connect); });
    connect(m_send, &QPushButton::clicked, this, &ChatPane::sendInput);
    // The input's own Enter, not a default button: it works while 送信 is disabled.
    connect(m_input, &QLineEdit::returnPressed, this, &ChatPane::sendInput);
    setOffline(true);
}

void ChatPane::append(std::string_view cp932Text)
{
    transcript::append(*m_transcript, cp932Text);
    if (transcript::lineCount(*m_transcript) > maxLines)
        transcript::dropLinesBefore(*m_transcript, droppedLines);
}

void ChatPane::sendInput()
{
    const std::string typed = toSjis(m_input->text());
    m_input->clear();
    const std::string_view text = trimWhiteSpace(typed);
    if (text.empty())
        return;
    emit broadcastRequested(std::string(text));
    m_input->setFocus();
}

void ChatPane::setOffline(bool offline)
{
    m_offline = offline;
    m_transcript->setReadOnly(offline);
    m_input->setReadOnly(offline);
    m_send->setEnabled(!offline);
    m_connect->setVisible(offline);
}

void ChatPane::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_layout.resize(event->size());
}
