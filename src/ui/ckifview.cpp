#include "ui/ckifview.h"

#include <QHeaderView>

CKifView::CKifView(QWidget* parent)
    : QTreeView(parent)
{
    setRootIsDecorated(false);
    setItemsExpandable(false);
    // One fixed row height lets the view lay out a folder of 100,000 records without measuring
    // every row.
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setStretchLastSection(false);
    header()->setSectionsClickable(true);
    setMinimumWidth(10);

    // The properties of records (and two identifiers no menu shows) have a handler that does
    // nothing, so their items are enabled and choosing them changes nothing.
    for (CommandId id : { CommandId::RecordProperties, CommandId::UnusedProperties32773,
             CommandId::UnusedProperties32782, CommandId::TrashItemProperties })
        onCommand(id, [] {});
}
