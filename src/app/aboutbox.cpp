#include "app/aboutbox.h"

#include "app/programpicture.h"
#include "library/programversion.h"
#include "platform/sjis.h"
#include "text/texts.h"
#include "ui/dialogunits.h"

#include <QLabel>
#include <QPushButton>

AboutBox::AboutBox(QWidget* parent)
    : QDialog(parent)
{
    using dialogunits::toPixels;
    setWindowTitle(fromSjis(texts::aboutTitle.bytes()));
    setFixedSize(toPixels(QSize(168, 84)));

    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    auto* picture = new QLabel(this);
    picture->setPixmap(programPicture());
    picture->setGeometry(QRect(toPixels(QPoint(7, 7)), QSize(270, 74)));

    m_version = new QLabel(fromSjis(aboutVersionText()), this);
    m_version->setGeometry(toPixels(7, 60, 100, 8));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(toPixels(118, 63, 43, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

QString AboutBox::versionLine() const
{
    return m_version->text();
}
