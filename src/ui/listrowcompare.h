#pragma once

#include <cstdint>

struct RecordCollection;

// The column layouts of the record list.
enum class ListMode : int {
    Records = 0, // 名前, 黒番, 白番, 結果, 定石, 日付
    Trash = 1, // 名前, 削除時刻, 黒番, 白番, 結果, 定石, 日付
    Computers = 2, // 名前, コメント
};

// The order of two list rows (ListItemKey values of one collection) under a column: negative
// puts a first. Folders come before records except where a column compares times across them;
// descending sorts negate the result. Every pair compares equal in the computers layout.
int compareListRows(
    const RecordCollection& collection, ListMode mode, int column, uint32_t a, uint32_t b);
