#pragma once

#include <QString>

class FixedText;
class QDialog;
class QLabel;
class QPushButton;
class QWidget;

// The pieces every hand-laid window is built from: fixed texts as the widgets want them, and
// controls placed in dialog units.
namespace dialogcontrols {

QString uiText(const FixedText& text);
// Places the widget at a rectangle given in dialog units.
void place(QWidget* widget, int x, int y, int width, int height);
// A left-aligned, vertically centred label at a rectangle in dialog units.
QLabel* addLabel(QWidget* parent, const QString& text, int x, int y, int width, int height);

struct OkCancel {
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
};
// OK (the default button) at (x, y) and キャンセル 4 units to its right, both 50 × 14; キャンセル
// rejects the dialog. What OK does is the caller's.
OkCancel addOkCancel(QDialog* dialog, int x, int y);

} // namespace dialogcontrols
