#pragma once

#include "platform/com/Com.h"

// The classes of the filter graph as CoCreateInstance finds them: one row per class of
// Uuids.h, ended by a row with a null factory. The table joins CoCreateInstance's lookup as
// the program starts (see Uuids.h for why a static link always keeps it).
extern const ClassTableEntry kGraphClasses[];
