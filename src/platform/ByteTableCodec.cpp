#include "platform/ByteTableCodec.h"

#include <QHash>
#include <cstring>
#include <vector>

#include "platform/MacByteTables.h"

namespace platform {

namespace {

struct Table {
    const MacByteTable* forward;
    QHash<char16_t, char> reverse;
};

// Built once, on first use, then only read: safe to share between threads.
const std::vector<Table>& tables() {
    static const std::vector<Table> built = [] {
        std::vector<Table> result;
        for (const MacByteTable& t : macByteTables()) {
            Table table{&t, {}};
            for (int b = 255; b >= 0; --b) {  // downwards, so the lowest byte wins
                const char16_t u = t.toUnicode(static_cast<unsigned char>(b));
                if (u != MacByteTable::kUndefined) table.reverse.insert(u, static_cast<char>(b));
            }
            result.push_back(std::move(table));
        }
        return result;
    }();
    return built;
}

const Table* find(const char* name) {
    for (const Table& t : tables())
        if (std::strcmp(t.forward->name, name) == 0) return &t;
    return nullptr;
}

}  // namespace

std::optional<QString> ByteTableCodec::decode(const QByteArray& bytes, const char* tableName) {
    const Table* table = find(tableName);
    if (!table) return std::nullopt;
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* dst = out.data();
    for (const char byte : bytes) {
        const char16_t u = table->forward->toUnicode(static_cast<unsigned char>(byte));
        if (u == MacByteTable::kUndefined) return std::nullopt;
        *dst++ = QChar(u);
    }
    return out;
}

std::optional<QByteArray> ByteTableCodec::encode(const QString& text, const char* tableName) {
    const Table* table = find(tableName);
    if (!table) return std::nullopt;
    QByteArray out(text.size(), Qt::Uninitialized);
    char* dst = out.data();
    for (const QChar c : text) {
        const auto it = table->reverse.constFind(c.unicode());
        if (it == table->reverse.constEnd()) return std::nullopt;
        *dst++ = it.value();
    }
    return out;
}

}  // namespace platform
