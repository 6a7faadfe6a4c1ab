#include "ui/chatpane.h"

#include "platform/sjis.h"
#include "text/texts.h"
#include "ui/dialogunits.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>

#include <algorithm>

ChatPane::ChatPane(QWidget* parent)
    : QWidget(parent)
{
    using dialogunits::toPixels;
    m_designedSize = toPixels(QSize(340, 250));

    m_connect = new QPushButton(fromSjis(texts::chatConnect.bytes()), this);
    m_transcript = new QPlainTextEdit(this);
    m_input = new QLineEdit(this);
    m_send = new QPushButton(fromSjis(texts::chatSend.bytes()), this);

    // Black text on the white of the program's shared brushes.
    QPalette white = m_transcript->palette();
    white.setColor(QPalette::Base, Qt::white);
    white.setColor(QPalette::Text, Qt::black);
    m_transcript->setPalette(white);
    m_transcript->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_transcript->setLineWrapMode(QPlainTextEdit::WidgetWidth);

    m_anchored = {
        { m_connect, toPixels(246, 4, 90, 14), false, false, true, false },
        { m_transcript, toPixels(4, 22, 332, 204), true, true, false, false },
        { m_input, toPixels(4, 231, 280, 14), true, false, false, true },
        { m_send, toPixels(288, 231, 48, 14), false, false, true, true },
    };
    for (const Anchored& a : m_anchored)
        a.widget->setGeometry(a.designed);

    setFocusProxy(m_input);
    setMinimumSize(10, 10);
    connect(m_connect, &QPushButton::clicked, this,
        [this] { emit commandRequested(CommandId::Connect); });
    setOffline(true);
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
    const int dx = event->size().width() - m_designedSize.width();
    const int dy = event->size().height() - m_designedSize.height();
    for (const Anchored& a : m_anchored) {
        QRect r = a.designed;
        if (a.followRight)
            r.translate(dx, 0);
        if (a.followBottom)
            r.translate(0, dy);
        if (a.growWidth)
            r.setWidth(std::max(0, r.width() + dx));
        if (a.growHeight)
            r.setHeight(std::max(0, r.height() + dy));
        a.widget->setGeometry(r);
    }
}
