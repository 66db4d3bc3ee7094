#pragma once

// The most memory this process has held in RAM so far, in KiB.
long PeakResidentKiB();
