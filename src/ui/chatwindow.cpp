#include "ui/chatwindow.h"

#include "library/folderkey.h"
#include "library/recordlibrary.h"
#include "library/textformat.h"
#include "net/bytestring.h"
#include "net/chattext.h"
#include "net/notices.h"
#include "platform/sjis.h"
#include "text/texts.h"
#include "ui/chatlink.h"
#include "ui/dialogunits.h"
#include "ui/transcript.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>

namespace {

QString text(const FixedText& t)
{
    return fromSjis(t.bytes());
}

} // namespace

ChatWindow::ChatWindow(ChatLink& link, std::string peer)
    : m_link(link)
    , m_peer(std::move(peer))
{
    // A window to keep open beside the others: it can be minimised and resized.
    setWindowFlag(Qt::WindowMinimizeButtonHint, true);
}

bool ChatWindow::initDialog()
{
    using dialogunits::toPixels;
    using A = AnchoredLayout;
    setObjectName(QStringLiteral("ChatWindow"));
    setWindowTitle(
        fromSjis(formatText(texts::chatWindowTitle.bytes(), { m_peer, m_link.ownUser() })));
    const QSize designed = toPixels(QSize(300, 196));
    resize(designed);
    setMinimumSize(toPixels(QSize(200, 80)));
    m_layout.setDesignedSize(designed);

    m_transcript = new QPlainTextEdit(this);
    m_transcript->setReadOnly(true);
    transcript::setUp(*m_transcript);
    m_input = new QLineEdit(this);
    m_send = new QPushButton(text(texts::chatSend), this);
    m_bell = new QCheckBox(text(texts::chatBell), this);
    m_raise = new QCheckBox(text(texts::chatRaise), this);
    m_profile = new QPushButton(text(texts::chatProfile), this);
    m_close = new QPushButton(text(texts::chatClose), this);

    m_layout.add(m_transcript, toPixels(4, 4, 292, 150), A::GrowWidth | A::GrowHeight);
    m_layout.add(m_input, toPixels(4, 158, 240, 14), A::GrowWidth | A::FollowBottom);
    m_layout.add(m_send, toPixels(248, 158, 48, 14), A::FollowRight | A::FollowBottom);
    m_layout.add(m_bell, toPixels(4, 178, 60, 12), A::FollowBottom);
    m_layout.add(m_raise, toPixels(66, 178, 70, 12), A::FollowBottom);
    m_layout.add(m_profile, toPixels(140, 177, 56, 14), A::FollowBottom);
    m_layout.add(m_close, toPixels(248, 177, 48, 14), A::FollowRight | A::FollowBottom);

    // 送信 is the default button: Enter in the input sends, unless sending is disabled.
    m_send->setDefault(true);
    m_close->setAutoDefault(false);
    m_profile->setAutoDefault(false);
    connect(m_send, &QPushButton::clicked, this, &ChatWindow::sendInput);
    connect(m_close, &QPushButton::clicked, this, [this] { reject(); });
    m_input->setFocus();
    return true;
}

void ChatWindow::append(std::string_view cp932Text)
{
    transcript::append(*m_transcript, cp932Text);
}

void ChatWindow::sendInput()
{
    // Sent as typed, leading spaces and all; only a line of spaces and tabs is not sent.
    const std::string typed = toSjis(m_input->text());
    if (isBlank(typed))
        return;
    m_link.sendTell(m_peer, typed);
    m_input->clear();
    append(chatLineText(m_link.ownUser(), typed));
    m_input->setFocus();
}

void ChatWindow::bringToTop()
{
    if (isMinimized())
        showNormal();
    raise();
}

void ChatWindow::placeOnOpen(const QWidget*)
{
    move(openPosition);
}

void ChatWindow::setPeerOnline(bool online)
{
    m_send->setEnabled(online);
    m_input->setReadOnly(!online);
}

int32_t ChatWindow::onLogin(const LoginNotice& notice, int32_t)
{
    if (notice.user != m_peer)
        return noticeIgnored;
    append(formatText(texts::chatPeerLoggedIn.bytes(), { m_peer }));
    setPeerOnline(true);
    return noticeHandled;
}

int32_t ChatWindow::onLogout(const LogoutNotice& notice, int32_t)
{
    if (notice.user != m_peer)
        return noticeIgnored;
    append(formatText(texts::chatPeerLoggedOut.bytes(), { m_peer }));
    setPeerOnline(false);
    return noticeHandled;
}

int32_t ChatWindow::onTell(const TellNotice& notice, int32_t)
{
    if (notice.sender != m_peer)
        return noticeIgnored;
    if (m_bell->isChecked())
        m_link.playMessageSound();
    if (m_raise->isChecked())
        bringToTop();
    append(chatMessageText(m_peer, notice.lines));
    return noticeHandled;
}

int32_t ChatWindow::onConnectionLost(const ConnectionLostNotice&, int32_t)
{
    requestClose();
    return noticeHandled;
}

int32_t ChatWindow::onWindow(const WindowNotice& notice, int32_t)
{
    if (notice.kind == WindowChat && notice.text == m_peer) {
        comeForward();
        return noticeHandled;
    }
    if (notice.kind == WindowFolderRemoved
        && notice.key == libraryNoticeKey(networkCollection, 0)) {
        requestClose();
        return noticeHandled;
    }
    return noticeIgnored;
}

void ChatWindow::keyPressEvent(QKeyEvent* event)
{
    // Escape leaves the conversation open; only the close button and 閉じる end it.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    ProtocolListener::keyPressEvent(event);
}

void ChatWindow::resizeEvent(QResizeEvent* event)
{
    ProtocolListener::resizeEvent(event);
    m_layout.resize(event->size());
    update();
}
