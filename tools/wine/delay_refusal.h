// MoveFileEx's delay until restart refused, as on the 9x family, whose kernel32 exports it
// only as a stub. Shared by the driver (programs it starts as a 9x version) and the glue
// tests (their in-process Windows Me sessions).
#ifndef PDCLEAN_TOOLS_WINE_DELAY_REFUSAL_H
#define PDCLEAN_TOOLS_WINE_DELAY_REFUSAL_H

#include <windows.h>

// Where Wine, as NT, keeps the delayed moves (PendingFileRenameOperations).
extern const wchar_t SessionManager[];

// The Session Manager key's rule as it was found, to be put back.
struct DelayRule {
    BYTE descriptor[1024];
    bool saved;
};

// Lets everyone only read the Session Manager key (and change its rule), so that MoveFileEx
// cannot schedule a move at restart; the rule found is kept in found unless it is NULL. True
// once a throwaway request is refused. Wine keeps the rule until its server ends. The caller
// must run as an NT version: in 9x mode the security calls do nothing.
bool RefuseDelay(DelayRule *found);

// Puts back the rule RefuseDelay found.
bool RestoreDelay(const DelayRule &found);

#endif
