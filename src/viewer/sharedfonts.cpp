#include "viewer/sharedfonts.h"

#include "platform/japanesefont.h"

#include <QCoreApplication>
#include <QFontDatabase>

namespace {

const char8_t* const proportionalFace = u8"ＭＳ Ｐゴシック";
const char8_t* const fixedFace = u8"ＭＳ ゴシック";

QString fromUtf8(const char8_t* text)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(text));
}

// The face itself when installed, else the Japanese face that stands in for it.
QString availableFace(const QString& face, bool fixedPitch)
{
    const QStringList families = QFontDatabase::families();
    if (families.contains(face))
        return face;
    const QString standIn = QString::fromLatin1(fixedPitch ? "IPAGothic" : "IPAPGothic");
    if (families.contains(standIn))
        return standIn;
    const QString japanese = installedJapaneseFamily();
    return japanese.isEmpty() ? face : japanese;
}

QFont makeFont(SharedFonts::Which which)
{
    const bool fixedPitch = which == SharedFonts::Fixed;
    QFont font(availableFace(SharedFonts::requestedFace(which), fixedPitch));
    font.setPixelSize(SharedFonts::pixelHeight(which));
    font.setWeight(QFont::Normal);
    font.setFixedPitch(true);
    font.setStyleHint(QFont::TypeWriter, QFont::NoAntialias);
    return font;
}

} // namespace

SharedFonts::SharedFonts()
    : m_label(makeFont(Label))
    , m_number(makeFont(Number))
    , m_fixed(makeFont(Fixed))
{ }

const SharedFonts& SharedFonts::instance()
{
    static SharedFonts* fonts = nullptr;
    if (!fonts) {
        fonts = new SharedFonts;
        qAddPostRoutine([] {
            delete fonts;
            fonts = nullptr;
        });
    }
    return *fonts;
}

const QFont& SharedFonts::font(Which which) const
{
    switch (which) {
    case Label:
        return m_label;
    case Number:
        return m_number;
    case Fixed:
        break;
    }
    return m_fixed;
}

QString SharedFonts::requestedFace(Which which)
{
    return fromUtf8(which == Fixed ? fixedFace : proportionalFace);
}

int SharedFonts::pixelHeight(Which which)
{
    return which == Number ? 14 : 12;
}
