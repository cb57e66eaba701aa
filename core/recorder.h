#ifndef PDCLEAN_CORE_RECORDER_H
#define PDCLEAN_CORE_RECORDER_H

#include "core/kinds.h"

// Counts one attempt of a 9x plan, notes an error, shows the row and paces the run.
void RecordOutcome(const char *itemText, Outcome outcome);

// An attempt of an NT plan: notes an error or a restart for the report; no row, no pause.
void NoteOutcome(Outcome outcome);

#endif
