#pragma once

#include <QStringView>
#include <array>
#include <cstdint>
#include <optional>

namespace platform {

// One thread's latest spelling verdicts, in front of a checker's shared
// cache: most words of dialogue are a few hundred common ones, found here
// without a lock or a trip to memory that other threads write. A slot holds
// one word, and a later word of the same slot takes it over; words longer
// than a slot are not kept. Each verdict is marked with the number of the
// checker that gave it: another dictionary's verdicts are not this one's.
class RecentVerdicts {
  public:
    static constexpr std::size_t kSlots = 4096;
    static constexpr qsizetype kLongestWord = 15;

    // The calling thread's own, made on first use.
    static RecentVerdicts& ofThisThread();

    std::optional<bool> find(std::uint64_t checker, QStringView word) const;
    void insert(std::uint64_t checker, QStringView word, bool known);

  private:
    struct Slot {
        std::uint64_t checker = 0;
        std::uint32_t hash = 0;
        std::uint8_t length = 0;
        bool known = false;
        char16_t word[kLongestWord];
    };

    static std::uint32_t hashOf(QStringView word);
    static std::size_t slotOf(std::uint32_t hash);

    std::array<Slot, kSlots> slots_{};
};

}  // namespace platform
