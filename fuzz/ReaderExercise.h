// Reads every value a host can read from a reader, so that a fuzz input
// reaches every getter, range builder and transition search.
#ifndef DR_MVQ4_FUZZ_READER_EXERCISE_H
#define DR_MVQ4_FUZZ_READER_EXERCISE_H

#include "dr_mvq4/DisturbanceDataReader.h"

void ExerciseReader(DisturbanceDataReader& reader);

#endif
