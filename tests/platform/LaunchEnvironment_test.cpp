#include "platform/LaunchEnvironment.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace launch = platform::launch;

namespace {

std::optional<std::string> variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}

void setVariable(const char* name, const std::optional<std::string>& value) {
    if (value)
        setenv(name, value->c_str(), 1);
    else
        unsetenv(name);
}

}  // namespace

// The program gets the allocator settings, the user's own after them; the
// program puts the variable back as it was for the tools it starts.
TEST(LaunchEnvironment, TheProgramGetsTheSettingsAndItsToolsTheUsersOwn) {
    const auto outside = variable(launch::kTunablesVariable);
    const std::string ours = launch::kTunables;
    const struct {
        std::optional<std::string> before;
        std::string passed;
    } cases[] = {
        {std::nullopt, ours},
        {"", ours},
        {"glibc.malloc.arena_max=2", ours + ":glibc.malloc.arena_max=2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before.value_or("(not set)"));
        setVariable(launch::kTunablesVariable, c.before);
        launch::prepare();
        EXPECT_EQ(variable(launch::kTunablesVariable), c.passed);
        launch::restore();
        EXPECT_EQ(variable(launch::kTunablesVariable), c.before);
        EXPECT_FALSE(variable(launch::kBeforeVariable));
        // Started without the launcher: nothing changes.
        launch::restore();
        EXPECT_EQ(variable(launch::kTunablesVariable), c.before);
    }
    setVariable(launch::kTunablesVariable, outside);
}
