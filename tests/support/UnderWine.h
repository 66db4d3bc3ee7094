#pragma once

// Whether this Windows program runs under Wine rather than on Windows itself;
// false on Linux. Wine's WinINet ignores the receive time-out that Windows keeps.
bool UnderWine();
