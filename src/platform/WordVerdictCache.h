#pragma once

#include <QStringView>
#include <array>
#include <cstddef>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace platform {

// Whether each word is in one dictionary, remembered: dialogue repeats its
// words heavily, and Hunspell's lookups, of unknown words above all, are
// dear. The loading threads share it, so the words are spread over shards,
// each behind its own mutex. Memory is bounded: a full shard is emptied and
// fills again with the words in use now.
class WordVerdictCache {
  public:
    static constexpr std::size_t kShards = 64;
    static constexpr std::size_t kDefaultWordsPerShard = 2048;

    explicit WordVerdictCache(std::size_t wordsPerShard = kDefaultWordsPerShard);

    // The verdict recorded for exactly this word (case and all), if any.
    std::optional<bool> find(QStringView word) const;
    void insert(QStringView word, bool known);

    std::size_t size() const;
    std::size_t capacity() const { return kShards * wordsPerShard_; }

  private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::u16string_view word) const {
            return std::hash<std::u16string_view>{}(word);
        }
    };
    // Apart in memory, so that threads on neighbouring shards do not
    // contend for one cache line.
    struct alignas(64) Shard {
        mutable std::mutex mutex;
        std::unordered_map<std::u16string, bool, Hash, std::equal_to<>> verdicts;
    };

    static std::size_t shardOf(std::u16string_view word);

    std::size_t wordsPerShard_;
    std::array<Shard, kShards> shards_;
};

}  // namespace platform
