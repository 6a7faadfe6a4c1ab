#pragma once

#include "ui/commandtarget.h"

#include <QTreeView>

// The record list: the upper right pane of the main window, a report of the folders and records
// of the folder selected in the tree. It shows rows once the library is attached through a model;
// until then it is empty.
class CKifView : public QTreeView, public CommandTarget {
    Q_OBJECT
public:
    explicit CKifView(QWidget* parent = nullptr);
};
