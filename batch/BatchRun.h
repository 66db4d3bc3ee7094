#pragma once

#include "BatchWindow.h"

// Runs one whole job on the calling thread: saves the job fields, then fetches
// every page of the range and writes its numbered file, showing progress and
// the outcome through `window`.
void BatchThreadProc(BatchWindow& window);
