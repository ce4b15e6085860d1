// Handing a loaded reader to the host and taking it back.
//
// The host calls the reader through virtual tables laid out by its own
// compiler. Where that layout is the one this build's compiler gives the
// interfaces (the Linux build), the reader itself is handed over. The Windows
// build hands over an adapter whose tables are laid out as the viewer's
// compiler lays them out (module/win32/HostHandover.cpp). The tests call
// the exports in-process and read the reader through this build's own
// declarations, so they link the Linux handover on every system; the viewer's
// layout is checked from outside by tests/win32host.
#ifndef DR_MVQ4_MODULE_HOST_HANDOVER_H
#define DR_MVQ4_MODULE_HOST_HANDOVER_H

#include "dr_mvq4/DisturbanceDataReader.h"

// Takes ownership of `reader` and returns what the host receives; null when
// that cannot be made (out of memory), `reader` being freed then.
DisturbanceDataReader* HandToHost(DisturbanceDataReader* reader);

// Frees what HandToHost returned, with the reader behind it; null is ignored.
void TakeBackFromHost(DisturbanceDataReader* handed);

#endif
