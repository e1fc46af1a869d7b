#pragma once

#include <QString>
#include <QStringList>
#include <memory>

#include "platform/AppPaths.h"
#include "platform/LogSink.h"
#include "platform/RunFolder.h"
#include "platform/SpellChecker.h"
#include "platform/TemporaryFolder.h"
#include "support/ScopedOverride.h"

namespace testsupport {

// The platform layer's program-wide settings, each restored to its default
// when the guard ends.
struct ScopedAppPaths : ScopedOverride<platform::AppPaths::Overrides> {
    explicit ScopedAppPaths(const platform::AppPaths::Overrides& overrides)
        : ScopedOverride(&platform::AppPaths::setOverrides, overrides) {}
};

struct ScopedTemporaryFolder : ScopedOverride<QString> {
    explicit ScopedTemporaryFolder(const QString& folder)
        : ScopedOverride(&platform::TemporaryFolder::setOverride, folder) {}
};

struct ScopedRunFolderCalls : ScopedOverride<platform::RunFolder::Overrides> {
    explicit ScopedRunFolderCalls(const platform::RunFolder::Overrides& overrides)
        : ScopedOverride(&platform::RunFolder::setOverrides, overrides) {}
};

struct ScopedSpellChecker : ScopedOverride<std::shared_ptr<platform::SpellChecker>> {
    explicit ScopedSpellChecker(std::shared_ptr<platform::SpellChecker> checker)
        : ScopedOverride(&platform::SpellChecker::setShared, std::move(checker)) {}
};

// Every log entry written while the guard lives, instead of the log.
class [[nodiscard]] ScopedLogCapture {
  public:
    ScopedLogCapture()
        : hook_(&platform::LogSink::setCaptureHook,
                [entries = entries_](const QString& entry) { entries->append(entry); }) {}
    const QStringList& entries() const { return *entries_; }
    void clear() { entries_->clear(); }

  private:
    std::shared_ptr<QStringList> entries_ = std::make_shared<QStringList>();
    ScopedOverride<platform::LogSink::Hook> hook_;
};

}  // namespace testsupport
