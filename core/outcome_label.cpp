#include "core/outcome_label.h"

static const char *const Labels[] = {
    "",              // no code 0
    "ｴﾗｰ",           // Error
    "削除",          // Deleted
    "ﾌｧｲﾙなし",      // NoFile
    "ﾘﾌﾞｰﾄ時削除",   // DeleteAtRestart
    "ｷｰなし",        // NoKey
    "値なし",        // NoValue
    "ﾌｫﾙﾀﾞなし",     // NoFolder
    "検出ｴﾗｰ",       // DetectError
};
static_assert(sizeof Labels / sizeof Labels[0] == static_cast<int>(Outcome::DetectError) + 1,
              "one label per outcome");

const char *OutcomeLabel(Outcome outcome)
{
    int code = static_cast<int>(outcome);
    if (code < 1 || code > static_cast<int>(Outcome::DetectError))
        return "";
    return Labels[code];
}

bool OutcomeIsError(Outcome outcome)
{
    return outcome == Outcome::Error || outcome == Outcome::DetectError;
}
