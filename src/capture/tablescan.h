#pragma once

#include <cstdint>

class TableDesktop;
struct Notice;
struct TableSnapshot;

// Where the table scan reports: the notices go to the open windows, and a table whose snapshot no
// window claims gets a new capture window.
class TableScanSink {
public:
    virtual ~TableScanSink() = default;
    // Broadcasts the notice; returns how many windows claimed it.
    virtual int32_t notify(const Notice& notice) = 0;
    virtual void openCaptureWindow(const TableSnapshot& snapshot) = 0;
};

// One pass over the desktop's table windows: each is announced (window notice 7 with room and
// table), its result report clicked away, its board read and handed round (notice 6), and a
// notice 8 ends the pass. Windows that vanish or cannot be read are skipped until the next pass.
// Returns the number of table windows whose board was read.
int tableScan(TableDesktop& desktop, TableScanSink& sink);
