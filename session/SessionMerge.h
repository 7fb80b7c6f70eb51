#pragma once

#include "SessionFile.h"

// Two windows open at once each write what they keep merged with what the
// other wrote, entry by entry, against `base`: what this window held when it
// last read or wrote the file.
//
// History: the entries on disk, in their order, less those this window has
// removed since (the other window's entries stay), then the entries this
// window added that the file does not hold yet.
//
// Variables: the change saved last wins. A row this window changed, added
// or renamed since `base` is taken as this window has it; a row it left
// alone takes what the file says now (the other window's value, or its
// removal); a row on disk this window never had is the other window's and
// stays, after this window's rows; a row this window removed goes.
KeptSession MergeSessions(const KeptSession& disk, const KeptSession& mine,
                          const KeptSession& base);
