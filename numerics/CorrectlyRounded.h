// exp, log and pow rounded correctly (to nearest, ties to even) for every
// double argument, from IEEE basic operations alone: the same bits on every
// conforming machine and in WebAssembly. Special values as C99 Annex F.
#pragma once

double CrExp(double x);
double CrLog(double x);
double CrPow(double x, double y);
