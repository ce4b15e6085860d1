// One load of a record file, from the host's arguments to the finished
// reader: decode the record, find and apply its device model, assemble the
// channels. Runs on the calling thread; nothing survives between two loads
// except the numeric locale.
#ifndef DR_MVQ4_MODULE_LOAD_SEQUENCE_H
#define DR_MVQ4_MODULE_LOAD_SEQUENCE_H

#include "dr_mvq4/DisturbanceDataReader.h"

// On success stores a new reader in *out and returns true; on failure
// returns false and leaves *out untouched. May throw std::bad_alloc.
bool LoadDisturbanceFile(DisturbanceDataReader** out, const wchar_t* path, const char* language,
                         const wchar_t* options);

#endif
