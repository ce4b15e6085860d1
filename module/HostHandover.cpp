#include "module/HostHandover.h"

DisturbanceDataReader* HandToHost(DisturbanceDataReader* reader) { return reader; }

void TakeBackFromHost(DisturbanceDataReader* handed) { delete handed; }
