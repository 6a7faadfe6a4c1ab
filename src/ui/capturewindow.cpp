#include "ui/capturewindow.h"

#include "library/recordlibrary.h"
#include "library/settings.h"
#include "platform/clipboardtext.h"
#include "platform/sjis.h"
#include "text/texts.h"
#include "ui/dialogunits.h"
#include "ui/internalclipboard.h"
#include "ui/libraryaccess.h"
#include "ui/programservices.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include <cstdio>

namespace {

QString text(const FixedText& t)
{
    return fromSjis(t.bytes());
}

QString count(int32_t n)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%2d", n);
    return QString::fromLatin1(buffer);
}

} // namespace

CaptureWindow::CaptureWindow(
    const TableSnapshot& snapshot, ProgramServices& app, LibraryAccess& document)
    : m_app(app)
    , m_document(document)
    , m_capture(
          snapshot, document.settings().yahoosave != 0,
          [&document](const CapturedGame& game) {
              document.operations().fileCapturedGame(yahooCollection, 0, game);
          },
          [] { return std::time(nullptr); })
    , m_initialBlack(snapshot.blackCount)
    , m_initialWhite(snapshot.whiteCount)
{ }

bool CaptureWindow::initDialog()
{
    using dialogunits::toPixels;
    setFixedSize(toPixels(QSize(226, 57)));
    {
        // "%s #%03d" over the room's bytes.
        const std::string& format = texts::captureTitleFormat.bytes();
        std::string title(m_capture.room().size() + format.size() + 16, '\0');
        const int n = std::snprintf(title.data(), title.size(), format.c_str(),
            m_capture.room().c_str(), m_capture.table());
        title.resize(n > 0 ? static_cast<size_t>(n) : 0);
        setWindowTitle(fromSjis(title));
    }

    m_moves = new QPlainTextEdit(this);
    m_moves->setObjectName(QStringLiteral("moves"));
    m_moves->setReadOnly(true);
    m_moves->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_moves->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_moves->setGeometry(toPixels(4, 3, 218, 22));

    auto* blackLabel = new QLabel(text(texts::captureBlackLabel), this);
    blackLabel->setGeometry(toPixels(6, 29, 12, 9));
    m_blackCount = new QLabel(this);
    m_blackCount->setGeometry(toPixels(18, 29, 12, 9));
    m_blackName = new QLabel(this);
    m_blackName->setGeometry(toPixels(32, 29, 86, 9));
    auto* whiteLabel = new QLabel(text(texts::captureWhiteLabel), this);
    whiteLabel->setGeometry(toPixels(6, 42, 12, 9));
    m_whiteCount = new QLabel(this);
    m_whiteCount->setGeometry(toPixels(18, 42, 12, 9));
    m_whiteName = new QLabel(this);
    m_whiteName->setGeometry(toPixels(32, 42, 86, 9));

    m_autoSave = new QCheckBox(text(texts::captureAutoSave), this);
    m_autoSave->setObjectName(QStringLiteral("autoSave"));
    m_autoSave->setGeometry(toPixels(122, 28, 100, 10));
    m_autoSave->setChecked(m_capture.autoSave());
    connect(m_autoSave, &QCheckBox::toggled, this, [this](bool on) { m_capture.setAutoSave(on); });

    m_copy = new QPushButton(text(texts::captureCopy), this);
    m_copy->setObjectName(QStringLiteral("copy"));
    m_copy->setGeometry(toPixels(122, 40, 66, 14));
    connect(m_copy, &QPushButton::clicked, this, &CaptureWindow::copyMoves);
    m_save = new QPushButton(text(texts::captureSave), this);
    m_save->setObjectName(QStringLiteral("save"));
    m_save->setGeometry(toPixels(190, 40, 32, 14));
    connect(m_save, &QPushButton::clicked, this, [this] {
        m_capture.save();
        showMoves();
    });

    showNames();
    m_blackCount->setText(count(m_initialBlack));
    m_whiteCount->setText(count(m_initialWhite));
    showMoves();
    return true;
}

void CaptureWindow::showNames()
{
    m_blackName->setText(fromSjis(m_capture.shownBlackName()));
    m_whiteName->setText(fromSjis(m_capture.shownWhiteName()));
}

void CaptureWindow::showCounts(const TableSnapshot& snapshot)
{
    m_blackCount->setText(count(snapshot.blackCount));
    m_whiteCount->setText(count(snapshot.whiteCount));
}

void CaptureWindow::showMoves()
{
    // The break after the 60th character is a CR LF; the text box breaks lines at LF.
    const QString moves = QString::fromLatin1(m_capture.game().moveText())
                              .replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (m_moves->toPlainText() != moves)
        m_moves->setPlainText(moves);
    m_save->setEnabled(m_capture.unsaved());
}

void CaptureWindow::copyMoves()
{
    const std::string moves = m_capture.game().copyText();
    clipboardtext::put(moves);
    InternalClipboard& clip = m_document.clipboard();
    clip.reset();
    clip.text = moves;
}

int32_t CaptureWindow::onWindow(const WindowNotice& notice, int32_t)
{
    switch (notice.kind) {
    case WindowCaptureAlive:
        m_capture.tableSeen(notice.text.view(), static_cast<int32_t>(notice.extra));
        return noticeHandled;
    case WindowCaptureTable: {
        if (!notice.snapshot)
            return noticeIgnored;
        const TableCapture::SnapshotResult result
            = m_capture.snapshotRead(*notice.snapshot, m_document.settings().yahoobell != 0);
        if (!result.claimed)
            return noticeIgnored;
        showNames();
        if (result.bell)
            m_app.playTableReady();
        if (result.movesChanged)
            showMoves();
        else
            m_save->setEnabled(m_capture.unsaved());
        showCounts(*notice.snapshot);
        return noticeHandled;
    }
    case WindowCaptureScanEnd:
        if (m_capture.scanEnded())
            reject();
        return noticeHandled;
    case WindowCaptureOff:
        m_capture.captureTurnedOff();
        reject();
        return noticeHandled;
    default:
        return noticeIgnored;
    }
}
