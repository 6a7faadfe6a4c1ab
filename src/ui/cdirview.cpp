#include "ui/cdirview.h"

#include <QHeaderView>

CDirView::CDirView(QWidget* parent)
    : QTreeView(parent)
{
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setMinimumWidth(10);
    // The selected folder stays marked while another pane has the focus: the list shows it.
    QPalette keep = palette();
    keep.setColor(
        QPalette::Inactive, QPalette::Highlight, keep.color(QPalette::Active, QPalette::Highlight));
    keep.setColor(QPalette::Inactive, QPalette::HighlightedText,
        keep.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(keep);

    // In the tree, the pop-up's cut and copy and the select-all key do nothing.
    onCommand(CommandId::CutFolder, [] {});
    onCommand(CommandId::CopyFolder, [] {});
    onCommand(CommandId::SelectAll, [] {});
}
