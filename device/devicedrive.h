#pragma once

#include <QString>

// True when a volume label names the player: trimmed and lower-cased it is exactly "corvel3".
bool isPlayerLabel(const QString &label);

// The root of the player's drive ("/" separators, ending with "/"), or "" when no mounted
// volume carries the player's label. The first matching volume in the platform's order wins.
// Nothing is cached: it is asked again at every call and stays cheap enough for a 500 ms poll.
QString findDeviceDrive();
