#pragma once

// Waits ms milliseconds of elapsed time while processing pending events (at most 100 ms per
// round), so the window stays responsive. A wait of 0 returns at once.
void delay(int ms);
