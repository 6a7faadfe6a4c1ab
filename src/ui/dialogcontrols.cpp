#include "ui/dialogcontrols.h"

#include "text/texts.h"
#include "ui/dialogunits.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>

namespace dialogcontrols {

QString uiText(const FixedText& text)
{
    const std::string_view utf8 = text.utf8();
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

void place(QWidget* widget, int x, int y, int width, int height)
{
    widget->setGeometry(dialogunits::toPixels(x, y, width, height));
}

QLabel* addLabel(QWidget* parent, const QString& text, int x, int y, int width, int height)
{
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    place(label, x, y, width, height);
    return label;
}

OkCancel addOkCancel(QDialog* dialog, int x, int y)
{
    OkCancel buttons;
    buttons.ok = new QPushButton(uiText(texts::buttonOk), dialog);
    place(buttons.ok, x, y, 50, 14);
    buttons.ok->setDefault(true);
    buttons.cancel = new QPushButton(uiText(texts::buttonCancel), dialog);
    place(buttons.cancel, x + 54, y, 50, 14);
    QObject::connect(buttons.cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return buttons;
}

} // namespace dialogcontrols
