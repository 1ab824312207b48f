// The other programs the probe plays when it is copied under another name.
#pragma once

// Runs the program the file name `ownName` (and the environment) makes the
// probe; its exit code, 2 for a name it does not know.
int StandIn(const char *ownName);
