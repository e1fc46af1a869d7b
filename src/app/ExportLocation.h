#pragma once

#include <QString>

#include "common/SubtitleTypes.h"

// Where a disk export goes: the chosen path when its extension, in lower
// case, is the export type's; otherwise the chosen path with "." and the
// type appended (Film → Film.srt, Film.SRT stays, Film.txt → Film.txt.srt).
QString exportPathForChoice(const QString& chosenPath, subtitleTypes exportType);
