#pragma once

#include "ui/commandtarget.h"

#include <QTreeView>

// The folder tree: the left pane of the main window. It shows the four collections and their
// folders once the library is attached through a model; until then it is empty.
class CDirView : public QTreeView, public CommandTarget {
    Q_OBJECT
public:
    explicit CDirView(QWidget* parent = nullptr);
};
