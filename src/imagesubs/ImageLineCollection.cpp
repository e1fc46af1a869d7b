#include "imagesubs/ImageLineCollection.h"

namespace {

const QString kStart = QStringLiteral("startTime");
const QString kEnd = QStringLiteral("endTime");
constexpr double kGapBeforeNext = 0.01;

}  // namespace

void ImageLineCollection::trimAgainst(qint64 line, qint64 next) {
    Record& record = *records_[line];
    const double end = record.value(kEnd).toDouble();
    const double nextStart = records_[next]->value(kStart).toDouble();
    if (nextStart < end) record.insert(kEnd, nextStart - kGapBeforeNext);
}

QList<ImageLineCollection::Ready> ImageLineCollection::take(qint64 number, const Record& record,
                                                            bool isLast) {
    if (number < 0) return {};
    while (records_.size() <= number) records_.append(std::nullopt);
    records_[number] = record;
    if (isLast) lastLine_ = number;

    QList<Ready> ready;
    qint64 j = toVerifyIndex_;
    while (j < records_.size() && records_[j]) {
        if (j + 1 < records_.size()) {
            if (!records_[j + 1]) break;
            trimAgainst(j, j + 1);
        } else if (lastLine_ != j) {
            break;  // a later line may still come and trim this one
        }
        ready.append({j, *records_[j]});
        toVerifyIndex_ = ++j;
    }
    return ready;
}

QList<ImageLineCollection::Ready> ImageLineCollection::finish() {
    QList<Ready> ready;
    for (qint64 j = toVerifyIndex_; j < records_.size(); ++j) {
        if (!records_[j]) continue;
        qint64 next = j + 1;
        while (next < records_.size() && !records_[next]) ++next;
        if (next < records_.size()) trimAgainst(j, next);
        ready.append({j, *records_[j]});
    }
    toVerifyIndex_ = records_.size();
    return ready;
}
