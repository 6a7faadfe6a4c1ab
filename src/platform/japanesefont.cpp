#include "platform/japanesefont.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>

QString installedJapaneseFamily()
{
    const QStringList japanese = QFontDatabase::families(QFontDatabase::Japanese);
    QString chosen;
    for (const char* preferred :
        { "IPAPGothic", "IPAGothic", "Noto Sans CJK JP", "VL PGothic", "TakaoPGothic" }) {
        const QString family = QString::fromLatin1(preferred);
        if (japanese.contains(family)) {
            chosen = family;
            break;
        }
    }
    if (chosen.isEmpty() && !japanese.isEmpty())
        chosen = japanese.first();
    return chosen;
}

QString preferJapaneseFont()
{
    const QString chosen = installedJapaneseFamily();
    if (chosen.isEmpty())
        return {};
    QFont font = QApplication::font();
    QStringList families = font.families();
    if (families.isEmpty())
        families.append(font.family());
    families.removeAll(chosen);
    families.append(chosen);
    font.setFamilies(families);
    QApplication::setFont(font);
    return chosen;
}
