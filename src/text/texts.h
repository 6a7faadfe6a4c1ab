#pragma once

#include "text/fixedtext.h"

// The program's fixed texts, in one place. Core code uses them as CP932 bytes (texts::x.bytes(),
// or wherever a const std::string& is wanted). Keep them grouped by the module that shows them.
namespace texts {

// Program
inline const FixedText programTitle { u8"Pavione ver.0.30" };

// Records
inline const FixedText unknownPlayer { u8"不明" };

// Library roots
inline const FixedText myRecordsRoot { u8"マイ 棋譜集" };
inline const FixedText networkRoot { u8"ﾈｯﾄﾜｰｸ ｺﾝﾋﾟｭｰﾀ" };
inline const FixedText yahooRoot { u8"Yahoo! Games" };
inline const FixedText trashRoot { u8"ごみ箱" };

} // namespace texts
