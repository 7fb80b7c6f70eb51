#pragma once

#include "ExpFuncTable.h"

// Registers the built-in functions, aliases included, in their fixed order.
void RegisterBuiltinFunctions(ExpFuncTable& table);

// Degrees to degree-minute-second written as d.mmss, and back.
double DegreesToDms(double degrees);
double DmsToDegrees(double dms);
