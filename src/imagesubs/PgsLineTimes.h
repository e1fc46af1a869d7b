#pragma once

#include <QByteArray>

#include "imagesubs/LineTimes.h"

// The line times of a PGS (SUP) stream: its segments walked header by
// header, its display sets paired into shown and cleared pictures, the ends
// repaired. Reads nothing outside the bytes; a damaged or foreign file ends
// the walk where it stops making sense.
TimePairList pgsLineTimes(const QByteArray& sup);
