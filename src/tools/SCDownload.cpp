#include "tools/SCDownload.h"

#include <utility>

SCDownload::SCDownload(QString url) : urlString(std::move(url)) {}
