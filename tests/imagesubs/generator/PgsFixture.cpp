#include "PgsFixture.h"

#include <cmath>

#include "SubtitlePicture.h"

namespace imagesubfixtures {

namespace {

enum Segment : quint8 { kPDS = 0x14, kODS = 0x15, kPCS = 0x16, kWDS = 0x17, kEND = 0x80 };

void put16(QByteArray& out, qint64 value) {
    out.append(char((value >> 8) & 0xFF));
    out.append(char(value & 0xFF));
}

void put32(QByteArray& out, qint64 value) {
    put16(out, (value >> 16) & 0xFFFF);
    put16(out, value & 0xFFFF);
}

void segment(QByteArray& out, quint8 type, qint64 pts, const QByteArray& payload) {
    out.append("PG");
    put32(out, pts);
    put32(out, 0);
    out.append(char(type));
    put16(out, payload.size());
    out.append(payload);
}

// Run-length coding of the palette indices, line by line.
QByteArray pgsRle(const IndexedPicture& picture) {
    QByteArray rle;
    for (int y = 0; y < picture.height; ++y) {
        int x = 0;
        while (x < picture.width) {
            const quint8 colour = picture.at(x, y);
            int run = 1;
            while (x + run < picture.width && picture.at(x + run, y) == colour && run < 16383)
                ++run;
            if (colour != 0 && run <= 2) {
                for (int i = 0; i < run; ++i) rle.append(char(colour));
            } else if (colour == 0) {
                rle.append(char(0));
                if (run < 64) {
                    rle.append(char(run));
                } else {
                    rle.append(char(0x40 | (run >> 8)));
                    rle.append(char(run & 0xFF));
                }
            } else {
                rle.append(char(0));
                if (run < 64) {
                    rle.append(char(0x80 | run));
                } else {
                    rle.append(char(0xC0 | (run >> 8)));
                    rle.append(char(run & 0xFF));
                }
                rle.append(char(colour));
            }
            x += run;
        }
        rle.append(char(0));
        rle.append(char(0));
    }
    return rle;
}

QByteArray composition(const QSize& video, int number, bool withObject, int x, int y) {
    QByteArray pcs;
    put16(pcs, video.width());
    put16(pcs, video.height());
    pcs.append(char(0x10));  // frame rate
    put16(pcs, number);
    pcs.append(char(withObject ? 0x80 : 0x00));  // epoch start / normal
    pcs.append(char(0));                         // no palette update
    pcs.append(char(0));                         // palette id
    pcs.append(char(withObject ? 1 : 0));
    if (withObject) {
        put16(pcs, 0);  // object id
        pcs.append(char(0));
        pcs.append(char(0));  // not cropped
        put16(pcs, x);
        put16(pcs, y);
    }
    return pcs;
}

QByteArray window(int x, int y, int width, int height) {
    QByteArray wds;
    wds.append(char(1));
    wds.append(char(0));
    put16(wds, x);
    put16(wds, y);
    put16(wds, width);
    put16(wds, height);
    return wds;
}

QByteArray palette() {
    // Entry, Y, Cr, Cb, alpha: transparent, white, black.
    const quint8 entries[3][5] = {
        {0, 16, 128, 128, 0}, {1, 235, 128, 128, 255}, {2, 16, 128, 128, 255}};
    QByteArray pds;
    pds.append(char(0));
    pds.append(char(0));
    for (const auto& entry : entries)
        for (quint8 value : entry) pds.append(char(value));
    return pds;
}

QByteArray object(const IndexedPicture& picture) {
    const QByteArray rle = pgsRle(picture);
    QByteArray ods;
    put16(ods, 0);  // object id
    ods.append(char(0));
    ods.append(char(0xC0));  // first and last fragment
    const qint64 length = rle.size() + 4;
    ods.append(char((length >> 16) & 0xFF));
    put16(ods, length & 0xFFFF);
    put16(ods, picture.width);
    put16(ods, picture.height);
    ods.append(rle);
    return ods;
}

}  // namespace

qint64 pgsTicks(double seconds) {
    return std::llround(seconds * 90000.0);
}

QByteArray makePgs(const QList<PgsPicture>& pictures, const PgsOptions& options) {
    QByteArray out;
    int number = 0;
    if (options.leadingBlankSet) {
        segment(out, kPCS, 0, composition(options.video, number++, false, 0, 0));
        segment(out, kWDS, 0, window(0, 0, 1, 1));
        segment(out, kEND, 0, {});
    }
    for (int i = 0; i < pictures.size(); ++i) {
        const PgsPicture& shown = pictures[i];
        const IndexedPicture picture = drawSubtitleText(shown.text);
        const int x = (options.video.width() - picture.width) / 2;
        const int y = options.video.height() - picture.height - 60;
        const qint64 pts = pgsTicks(shown.start);
        segment(out, kPCS, pts, composition(options.video, number++, true, x, y));
        segment(out, kWDS, pts, window(x, y, picture.width, picture.height));
        segment(out, kPDS, pts, palette());
        segment(out, kODS, pts, object(picture));
        if (i != options.withoutEndAt) segment(out, kEND, pts, {});
        if (shown.end) {
            const qint64 clear = pgsTicks(*shown.end);
            segment(out, kPCS, clear, composition(options.video, number++, false, 0, 0));
            segment(out, kWDS, clear, window(x, y, picture.width, picture.height));
            segment(out, kEND, clear, {});
        }
    }
    if (options.clearPastEndAt) {
        const qint64 clear = pgsTicks(*options.clearPastEndAt);
        segment(out, kPCS, clear, composition(options.video, number++, false, 0, 0));
        segment(out, kWDS, clear, window(0, 0, 1, 1));
        QByteArray cut;
        segment(cut, kEND, clear, QByteArray(40, '\0'));
        out.append(cut.left(cut.size() - 20));
    }
    if (options.shortTail > 0) {
        // A header that would end a display set, were it read.
        QByteArray tail;
        segment(tail, kEND, 0, {});
        out.append(tail.left(options.shortTail));
    }
    return out;
}

}  // namespace imagesubfixtures
