#pragma once

#include "text/fixedtext.h"

// The program's fixed texts, in one place. Core code uses them as CP932 bytes (texts::x.bytes(),
// or wherever a const std::string& is wanted). Keep them grouped by the module that shows them.
namespace texts {

// Program
inline const FixedText programTitle { u8"Pavione ver.0.30" };

// Records
inline const FixedText unknownPlayer { u8"不明" };
inline const FixedText blackSide { u8"黒" };
inline const FixedText whiteSide { u8"白" };
// Result texts; %s is the winner's side, the score is always black's count first.
inline const FixedText resultScore { u8"%s %02d-%02d" };
inline const FixedText resultResigned { u8"%s 投了勝" };
inline const FixedText resultOnTime { u8"%s 針落勝" };
inline const FixedText resultFoul { u8"%s 反則勝" };
inline const FixedText resultWin { u8"%s勝" };
inline const FixedText resultDraw { u8"引き分け" };
inline const FixedText resultUnfinished { u8"途中終了" };
// End types by value, as the editor offers them.
inline const FixedText endNormal { u8"通常終局" };
inline const FixedText endResigned { u8"投了" };
inline const FixedText endOnTime { u8"針落ち" };
inline const FixedText endUnfinished { u8"途中終了" };
inline const FixedText endFoul { u8"反則" };

// Library roots
inline const FixedText myRecordsRoot { u8"マイ 棋譜集" };
inline const FixedText networkRoot { u8"ﾈｯﾄﾜｰｸ ｺﾝﾋﾟｭｰﾀ" };
inline const FixedText yahooRoot { u8"Yahoo! Games" };
inline const FixedText trashRoot { u8"ごみ箱" };

} // namespace texts
