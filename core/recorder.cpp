#include "core/recorder.h"

#include <windows.h>
#include <commctrl.h>

#include "core/outcome_label.h"
#include "core/session.h"
#include "res/resource.h"

// Each row gets a visible moment; a 9x run of 9 rows thus lasts at least 450 ms.
static const DWORD RowPauseMs = 50;

void NoteOutcome(Outcome outcome)
{
    if (OutcomeIsError(outcome))
        session.errorSeen = true;
    if (outcome == Outcome::DeleteAtRestart)
        session.rebootPending = true;
}

void RecordOutcome(const char *itemText, Outcome outcome)
{
    // The shipped template has no list; the lookup then yields no window and the
    // messages go nowhere, while counting and pacing still happen.
    HWND list = GetDlgItem(session.mainWindow, IDC_RESULT_LIST);
    int row = session.rowCount;

    LVITEMA item;
    ZeroMemory(&item, sizeof item);
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
    item.iItem = row;
    item.pszText = const_cast<char *>(itemText);
    item.cchTextMax = 256;
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));

    char label[32];
    lstrcpyA(label, OutcomeLabel(outcome));
    NoteOutcome(outcome);

    LVITEMA cell;
    ZeroMemory(&cell, sizeof cell);
    cell.iSubItem = 1;
    cell.pszText = label;
    SendMessageA(list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&cell));
    SendMessageA(list, LVM_SCROLL, 0, 30);
    UpdateWindow(session.mainWindow);
    Sleep(RowPauseMs);
    session.rowCount = row + 1;
}
