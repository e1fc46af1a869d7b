#include "platform/WordVerdictCache.h"

#include <algorithm>
#include <bit>

namespace platform {

namespace {

std::u16string_view asView(QStringView word) {
    return {word.utf16(), static_cast<std::size_t>(word.size())};
}

}  // namespace

WordVerdictCache::WordVerdictCache(std::size_t wordsPerShard)
    : wordsPerShard_(std::max<std::size_t>(wordsPerShard, 1)) {}

std::size_t WordVerdictCache::shardOf(std::u16string_view word) {
    // The high bits: the maps within a shard use the low ones.
    static_assert(std::has_single_bit(kShards) && kShards > 1);
    constexpr int shift = 8 * sizeof(std::size_t) - std::countr_zero(kShards);
    return Hash{}(word) >> shift;
}

std::optional<bool> WordVerdictCache::find(QStringView word) const {
    const std::u16string_view key = asView(word);
    const Shard& shard = shards_[shardOf(key)];
    std::lock_guard lock(shard.mutex);
    const auto it = shard.verdicts.find(key);
    if (it == shard.verdicts.end()) return std::nullopt;
    return it->second;
}

void WordVerdictCache::insert(QStringView word, bool known) {
    const std::u16string_view key = asView(word);
    Shard& shard = shards_[shardOf(key)];
    std::lock_guard lock(shard.mutex);
    if (shard.verdicts.size() >= wordsPerShard_ && !shard.verdicts.contains(key))
        shard.verdicts.clear();
    shard.verdicts.try_emplace(std::u16string(key), known);
}

std::size_t WordVerdictCache::size() const {
    std::size_t total = 0;
    for (const Shard& shard : shards_) {
        std::lock_guard lock(shard.mutex);
        total += shard.verdicts.size();
    }
    return total;
}

}  // namespace platform
