#pragma once

#include <QFont>
#include <QString>

// The program's three drawing fonts, made once on first use and kept until the application
// object goes. Each asks for its face by name at a fixed pixel height; where that face is not
// installed, the installed Japanese font of the same kind (proportional or fixed) takes its place
// at the same height. Text is drawn without smoothing, so every pixel of a number has its colour.
class SharedFonts {
public:
    enum Which { Label, Number, Fixed };

    static const SharedFonts& instance();

    // Coordinate labels of the board pictures: "ＭＳ Ｐゴシック", 12 pixels.
    const QFont& label() const { return m_label; }
    // Move numbers on the sheet: "ＭＳ Ｐゴシック", 14 pixels.
    const QFont& number() const { return m_number; }
    // The capture window's text: "ＭＳ ゴシック", 12 pixels.
    const QFont& fixed() const { return m_fixed; }
    const QFont& font(Which which) const;

    // The face asked for and its pixel height.
    static QString requestedFace(Which which);
    static int pixelHeight(Which which);

private:
    SharedFonts();

    QFont m_label;
    QFont m_number;
    QFont m_fixed;
};
