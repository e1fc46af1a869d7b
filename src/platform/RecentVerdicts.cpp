#include "platform/RecentVerdicts.h"

#include <bit>
#include <cstring>
#include <memory>

namespace platform {

RecentVerdicts& RecentVerdicts::ofThisThread() {
    // On the heap: a thread that never checks a word does not carry it.
    thread_local std::unique_ptr<RecentVerdicts> own = std::make_unique<RecentVerdicts>();
    return *own;
}

std::uint32_t RecentVerdicts::hashOf(QStringView word) {
    std::uint32_t hash = 2166136261u;  // FNV-1a over the UTF-16 units
    for (QChar c : word) hash = (hash ^ c.unicode()) * 16777619u;
    return hash;
}

std::size_t RecentVerdicts::slotOf(std::uint32_t hash) {
    // The high bits of a multiplicative spread: FNV's low bits depend on the
    // characters' low bits only.
    static_assert(std::has_single_bit(kSlots));
    return std::size_t((hash * 0x9E3779B1u) >> (32 - std::countr_zero(kSlots)));
}

std::optional<bool> RecentVerdicts::find(std::uint64_t checker, QStringView word) const {
    if (word.size() > kLongestWord) return std::nullopt;
    const std::uint32_t hash = hashOf(word);
    const Slot& slot = slots_[slotOf(hash)];
    if (slot.checker != checker || slot.hash != hash || slot.length != word.size() ||
        std::memcmp(slot.word, word.utf16(), std::size_t(word.size()) * sizeof(char16_t)) != 0)
        return std::nullopt;
    return slot.known;
}

void RecentVerdicts::insert(std::uint64_t checker, QStringView word, bool known) {
    if (word.size() > kLongestWord) return;
    const std::uint32_t hash = hashOf(word);
    Slot& slot = slots_[slotOf(hash)];
    slot.checker = checker;
    slot.hash = hash;
    slot.length = std::uint8_t(word.size());
    slot.known = known;
    std::memcpy(slot.word, word.utf16(), std::size_t(word.size()) * sizeof(char16_t));
}

}  // namespace platform
