#include "ui/peerpropertiesdialog.h"

#include "library/textformat.h"
#include "net/bytestring.h"
#include "net/chattext.h"
#include "net/notices.h"
#include "net/outgoingmessages.h"
#include "platform/sjis.h"
#include "text/texts.h"
#include "ui/chatlink.h"
#include "ui/dialogunits.h"
#include "ui/listdatetext.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace {

QString text(const FixedText& t)
{
    return fromSjis(t.bytes());
}

} // namespace

PeerPropertiesDialog::PeerPropertiesDialog(ChatLink& link, PeerDetails details)
    : m_link(link)
    , m_details(std::move(details))
{ }

bool PeerPropertiesDialog::initDialog()
{
    using dialogunits::toPixels;
    setObjectName(QStringLiteral("PeerPropertiesDialog"));
    setWindowTitle(fromSjis(formatText(texts::peerPropertiesTitle.bytes(), { m_details.user })));
    setFixedSize(toPixels(QSize(220, 146)));

    const auto label = [this](const FixedText& t, QRect r) {
        auto* l = new QLabel(text(t), this);
        l->setGeometry(r);
        return l;
    };
    const auto field = [this](QRect r) {
        auto* l = new QLabel(this);
        l->setGeometry(r);
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        return l;
    };
    label(texts::peerNameLabel, toPixels(7, 7, 50, 10));
    m_name = field(toPixels(60, 7, 153, 10));
    label(texts::peerCommentLabel, toPixels(7, 21, 50, 10));
    m_comment = field(toPixels(60, 21, 153, 20));
    m_comment->setWordWrap(true);
    m_comment->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label(texts::peerLoginLabel, toPixels(7, 45, 50, 10));
    m_loginTime = field(toPixels(60, 45, 153, 10));
    m_loginTime->setText(text(texts::peerOffline));
    label(texts::peerIdleLabel, toPixels(7, 59, 50, 10));
    m_idle = field(toPixels(60, 59, 153, 10));
    label(texts::peerMessageLabel, toPixels(7, 77, 50, 10));
    m_message = new QLineEdit(this);
    m_message->setGeometry(toPixels(60, 75, 104, 14));
    m_send = new QPushButton(text(texts::chatSend), this);
    m_send->setGeometry(toPixels(168, 75, 45, 14));
    m_ping = new QPushButton(text(texts::peerPing), this);
    m_ping->setGeometry(toPixels(7, 97, 50, 14));
    m_pingResult = field(toPixels(60, 96, 153, 20));
    m_pingResult->setWordWrap(true);
    m_pingResult->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_close = new QPushButton(text(texts::chatClose), this);
    m_close->setGeometry(toPixels(163, 125, 50, 14));

    // Enter is handled by the window itself (see keyPressEvent), never by a focused button.
    for (QPushButton* b : { m_send, m_ping, m_close })
        b->setAutoDefault(false);
    connect(m_send, &QPushButton::clicked, this, [this] { sendMessage(false); });
    connect(m_ping, &QPushButton::clicked, this, &PeerPropertiesDialog::ping);
    connect(m_close, &QPushButton::clicked, this, [this] { reject(); });

    m_name->setText(fromSjis(m_details.user));
    m_loginTime->setText(fromSjis(listdatetext::recordDate(m_details.loginTime, true)));
    m_comment->setText(fromSjis(m_details.comment));
    m_pingResult->clear();
    m_message->setFocus();
    return true;
}

void PeerPropertiesDialog::ping()
{
    m_link.sendMain(pingMessage(m_details.user, m_link.tickCount()));
    m_pingResult->setText(text(texts::peerPinging));
}

void PeerPropertiesDialog::sendMessage(bool closeWhenEmpty)
{
    const std::string typed = toSjis(m_message->text());
    const std::string_view message = trimWhiteSpace(typed);
    if (!message.empty())
        m_link.sendTell(m_details.user, message);
    else if (!closeWhenEmpty)
        return;
    accept();
}

int32_t PeerPropertiesDialog::onLogout(const LogoutNotice& notice, int32_t)
{
    if (notice.user != m_details.user)
        return noticeIgnored;
    requestClose();
    return noticeHandled;
}

int32_t PeerPropertiesDialog::onModComment(const ModCommentNotice& notice, int32_t)
{
    if (notice.user != m_details.user)
        return noticeIgnored;
    m_details.comment = notice.comment.str();
    m_comment->setText(fromSjis(m_details.comment));
    return noticeHandled;
}

int32_t PeerPropertiesDialog::onPong(const PongNotice& notice, int32_t)
{
    if (notice.user != m_details.user)
        return noticeIgnored;
    m_pingResult->setText(fromSjis(pingDelayText(m_link.tickCount(), notice.tick, notice.delay)));
    return noticeHandled;
}

int32_t PeerPropertiesDialog::onProfile(const ProfileNotice& notice, int32_t)
{
    // Whoever the answer is about: every open properties window shows the latest idle time.
    m_idle->setText(fromSjis(idleTimeText(notice.idleSeconds)));
    return noticeHandled;
}

int32_t PeerPropertiesDialog::onConnectionLost(const ConnectionLostNotice&, int32_t)
{
    requestClose();
    return noticeHandled;
}

int32_t PeerPropertiesDialog::onWindow(const WindowNotice& notice, int32_t)
{
    if (notice.kind == WindowPeerProperties && notice.key == m_details.folder.packed()) {
        comeForward();
        return noticeHandled;
    }
    if (notice.kind == WindowFolderRemoved) {
        const FolderKey gone = FolderKey::fromPacked(notice.key);
        const std::vector<int>& above = m_details.ancestors;
        if (gone.collection == m_details.folder.collection
            && (gone.folder == m_details.folder.folder
                || std::find(above.begin(), above.end(), gone.folder) != above.end())) {
            requestClose();
            return noticeHandled;
        }
    }
    return noticeIgnored;
}

void PeerPropertiesDialog::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        event->accept();
        sendMessage(true);
        return;
    }
    // Escape closes, as 閉じる does.
    ProtocolListener::keyPressEvent(event);
}
