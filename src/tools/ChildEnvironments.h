#pragma once

#include <QString>

#include "platform/ChildProcess.h"

// The environment a carried program needs, given the one to start from
// (normally the application's own): the font configuration for ffmpeg and
// ffplay, the locale and library path for the mkvtoolnix programs, the
// library path and language data for tesseract. Entries of the same name are
// replaced; any other program gets the dictionary back unchanged.
platform::EnvironmentDictionary updateTaskEnvironmentDictionaryForBinary(
    const QString& name, const platform::EnvironmentDictionary& andDictionary);
