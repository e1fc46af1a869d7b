// Random and mutated inputs for the three parsers, under the sanitizers: no
// crash, no read outside the buffer, and results that keep their shape.
#include <QList>
#include <random>

#include "ImageSubScratch.h"
#include "PgsFixture.h"
#include "VobSubFixture.h"
#include "imagesubs/PgsLineTimes.h"
#include "imagesubs/SubPictureDuration.h"
#include "imagesubs/VobSubIndex.h"

using namespace imagesubfixtures;

namespace {

class Mutator {
  public:
    explicit Mutator(unsigned seed) : random_(seed) {}

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

    QByteArray randomBytes(int size) {
        QByteArray bytes(size, '\0');
        for (char& c : bytes) c = char(below(256));
        return bytes;
    }

    // A few flips, cuts, copies and insertions of likely-looking bytes.
    QByteArray mutate(QByteArray bytes) {
        const int steps = 1 + below(8);
        for (int s = 0; s < steps && !bytes.isEmpty(); ++s) {
            const int at = below(bytes.size());
            switch (below(6)) {
                case 0:
                    bytes[at] = char(below(256));
                    break;
                case 1:
                    bytes[at] = char(bytes[at] ^ (1 << below(8)));
                    break;
                case 2:
                    bytes.truncate(at);
                    break;
                case 3:
                    bytes.insert(at, randomBytes(1 + below(16)));
                    break;
                case 4:
                    bytes.remove(at, 1 + below(64));
                    break;
                case 5: {
                    static const QByteArray pieces[] = {QByteArray("\x00\x00\x01\xBA", 4),
                                                        QByteArray("\x00\x00\x01\xBD", 4),
                                                        "\xFF\xFF",
                                                        QByteArray("\x80\x00\x00", 3),
                                                        "\x16",
                                                        "timestamp: ",
                                                        "filepos: ",
                                                        "index: ",
                                                        "delay: -",
                                                        "\r\n",
                                                        ":"};
                    bytes.insert(at, pieces[below(std::size(pieces))]);
                    break;
                }
            }
        }
        return bytes;
    }

  private:
    std::mt19937 random_;
};

class ParserRobustness : public ImageSubScratch {};

TEST_F(ParserRobustness, RandomAndMutatedInputs) {
    const VobSubFiles vobsub =
        makeVobSub({{"Ab", 1000, 200}, {"Cd", 3000, 50, 1}, {"Ef", 6000, 0, 0, -300, 2100}},
                   {.stuffing = 3, .foreignPackAfter = {0}});
    const QByteArray pgs = makePgs({{"Ab", 1.0, {}}, {"Cd", 2.0, 3.0}}, {.leadingBlankSet = true});
    Mutator mutator(20240611);

    for (int round = 0; round < 3000; ++round) {
        const QByteArray sub =
            round % 5 == 0 ? mutator.randomBytes(mutator.below(6000)) : mutator.mutate(vobsub.sub);
        const qint64 size = sub.size();
        const qint64 from = mutator.below(int(size) + 2) - 1;
        const qint64 to = mutator.below(int(size) + 4096);
        const auto duration = subPictureDuration(sub, mutator.below(3) - 1, from, to);
        if (duration) {
            EXPECT_GE(*duration, 0.0);
            EXPECT_LE(*duration, 0xFFFF * 1024.0 / 90000.0);
        }

        const QByteArray sup =
            round % 5 == 1 ? mutator.randomBytes(mutator.below(400)) : mutator.mutate(pgs);
        const TimePairList times = pgsLineTimes(sup);
        for (const TimePair& pair : times) EXPECT_GE(pair.start, 0.0);

        const QByteArray idx = mutator.mutate(vobsub.idx);
        const VobSubIndex index = readVobSubIndex(idx);
        EXPECT_EQ(index.times.size(), index.positions.size());
    }
}

}  // namespace
