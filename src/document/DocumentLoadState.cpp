#include "document/DocumentLoadState.h"

// Copies are made under the lock; Qt's shared data makes them cheap, and the
// reference counts are atomic, so a copy may outlive the next assignment.
#define QUILLMAR_GUARDED(Type, getter, setter, member)  \
    Type DocumentLoadState::getter() const {            \
        std::lock_guard lock(mutex_);                   \
        return member;                                  \
    }                                                   \
    void DocumentLoadState::setter(const Type& value) { \
        std::lock_guard lock(mutex_);                   \
        member = value;                                 \
    }

QUILLMAR_GUARDED(QUrl, fileURL, setFileURL, fileURL_)
QUILLMAR_GUARDED(QString, importEncoding, setImportEncoding, importEncoding_)
QUILLMAR_GUARDED(QString, styleHeader, setStyleHeader, styleHeader_)
using ScriptInfo = QMap<QString, QString>;
QUILLMAR_GUARDED(ScriptInfo, scriptInfo, setScriptInfo, scriptInfo_)
QUILLMAR_GUARDED(QStringList, keptSections, setKeptSections, keptSections_)
QUILLMAR_GUARDED(DocumentFailure, lastFailure, setLastFailure, lastFailure_)

#undef QUILLMAR_GUARDED
