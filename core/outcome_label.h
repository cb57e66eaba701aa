// What the result list shows for an outcome; free of Win32.
#ifndef PDCLEAN_CORE_OUTCOME_LABEL_H
#define PDCLEAN_CORE_OUTCOME_LABEL_H

#include "core/kinds.h"

// The label in code page 932; "" for a code outside the table.
const char *OutcomeLabel(Outcome outcome);

// True for the outcomes that make the run end in the partial-error report.
bool OutcomeIsError(Outcome outcome);

#endif
