#include "viewer/infopage.h"

#include "library/collectiontree.h"
#include "platform/sjis.h"
#include "records/gamerecord.h"
#include "text/texts.h"
#include "ui/dialogunits.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

namespace {

QString text(const FixedText& t)
{
    return QString::fromUtf8(t.utf8().data(), static_cast<qsizetype>(t.utf8().size()));
}

// Form texts are CP932 in the core; the comment keeps its lines apart with CR LF there.
QString fromRecordText(const std::string& bytes)
{
    QString t = fromSjis(bytes);
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return t;
}

std::string toRecordText(QString t)
{
    t.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return toSjis(t);
}

template <typename Widget> Widget* placed(Widget* widget, int x, int y, int width, int height)
{
    widget->setGeometry(dialogunits::toPixels(x, y, width, height));
    return widget;
}

void label(QWidget* parent, const FixedText& t, int x, int y)
{
    auto* l = new QLabel(text(t), parent);
    l->adjustSize();
    l->move(dialogunits::toPixels(QPoint(x, y)));
}

QLineEdit* numberBox(QWidget* parent, int x, int y, int width, int height)
{
    auto* box = placed(new QLineEdit(parent), x, y, width, height);
    box->setAlignment(Qt::AlignRight);
    return box;
}

QComboBox* nameBox(QWidget* parent, int y)
{
    auto* box = placed(new QComboBox(parent), 23, y, 77, 14);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    return box;
}

} // namespace

InfoPage::InfoPage(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("InfoPage"));
    label(this, texts::infoName, 49, 4);
    label(this, texts::infoDiscs, 116, 4);
    label(this, texts::infoBlack, 3, 17);
    m_blackName = nameBox(this, 14);
    m_blackDiscs = numberBox(this, 114, 14, 18, 14);
    label(this, texts::infoWhite, 3, 32);
    m_whiteName = nameBox(this, 29);
    m_whiteDiscs = numberBox(this, 114, 28, 18, 14);

    label(this, texts::infoWinner, 3, 48);
    m_blackWins = placed(new QRadioButton(text(texts::infoBlackWins), this), 25, 47, 30, 10);
    m_draw = placed(new QRadioButton(text(texts::infoDraw), this), 58, 47, 30, 10);
    m_whiteWins = placed(new QRadioButton(text(texts::infoWhiteWins), this), 94, 47, 30, 10);
    m_winner = new QButtonGroup(this);
    m_winner->addButton(m_blackWins, GameRecord::blackWins);
    m_winner->addButton(m_draw, GameRecord::noWinner);
    m_winner->addButton(m_whiteWins, GameRecord::whiteWins);
    // One group: the arrow keys move between the three, Tab passes over them as one stop.
    m_draw->setFocusPolicy(Qt::ClickFocus);
    m_whiteWins->setFocusPolicy(Qt::ClickFocus);

    label(this, texts::infoEndType, 3, 64);
    m_endType = placed(new QComboBox(this), 38, 60, 48, 14);
    for (const FixedText* t : { &texts::endNormal, &texts::endResigned, &texts::endOnTime,
             &texts::endUnfinished, &texts::endFoul })
        m_endType->addItem(text(*t));

    label(this, texts::infoDate, 2, 81);
    m_year = numberBox(this, 24, 78, 20, 14);
    label(this, texts::infoYear, 46, 81);
    m_month = numberBox(this, 55, 78, 12, 14);
    label(this, texts::infoMonth, 69, 81);
    m_day = numberBox(this, 78, 78, 12, 14);
    label(this, texts::infoDay, 92, 81);
    m_hour = numberBox(this, 31, 96, 12, 14);
    label(this, texts::infoHour, 46, 100);
    m_minute = numberBox(this, 55, 96, 12, 14);
    label(this, texts::infoMinute, 69, 100);
    m_second = numberBox(this, 78, 96, 12, 14);
    label(this, texts::infoSecond, 92, 100);

    label(this, texts::infoComment, 2, 114);
    m_comment = placed(new QPlainTextEdit(this), 5, 124, 129, 60);
    m_comment->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_comment->setTabChangesFocus(true);
}

void InfoPage::fill(const CollectionTree& collection, const GameRecord& record)
{
    const RecordDetails form = RecordDetails::of(collection, record);
    const PlayerNameTable& names = collection.playerNames();
    for (QComboBox* box : { m_blackName, m_whiteName }) {
        box->clear();
        for (int i = 0; i < names.size(); ++i)
            box->insertItem(i, fromSjis(names.name(i)));
    }
    m_blackName->setEditText(fromSjis(form.blackName));
    m_whiteName->setEditText(fromSjis(form.whiteName));
    m_endType->setCurrentIndex(
        form.endType >= 0 && form.endType < m_endType->count() ? form.endType : -1);
    QAbstractButton* winner = m_winner->button(form.winner);
    (winner ? winner : m_draw)->setChecked(true);
    m_blackDiscs->setText(QString::fromStdString(form.blackDiscs));
    m_whiteDiscs->setText(QString::fromStdString(form.whiteDiscs));
    m_year->setText(QString::fromStdString(form.year));
    m_month->setText(QString::fromStdString(form.month));
    m_day->setText(QString::fromStdString(form.day));
    m_hour->setText(QString::fromStdString(form.hour));
    m_minute->setText(QString::fromStdString(form.minute));
    m_second->setText(QString::fromStdString(form.second));
    m_comment->setPlainText(fromRecordText(form.comment));
}

RecordDetails InfoPage::details() const
{
    RecordDetails form;
    form.comment = toRecordText(m_comment->toPlainText());
    form.blackName = toSjis(m_blackName->currentText());
    form.whiteName = toSjis(m_whiteName->currentText());
    form.blackDiscs = m_blackDiscs->text().toStdString();
    form.whiteDiscs = m_whiteDiscs->text().toStdString();
    form.endType = m_endType->currentIndex();
    form.winner = m_winner->checkedId() > 0 ? m_winner->checkedId() : 0;
    form.year = m_year->text().toStdString();
    form.month = m_month->text().toStdString();
    form.day = m_day->text().toStdString();
    form.hour = m_hour->text().toStdString();
    form.minute = m_minute->text().toStdString();
    form.second = m_second->text().toStdString();
    return form;
}

void InfoPage::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        event->accept();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}
