#include "editor/TimeAdjustSheet.h"

#include "common/TimeTexts.h"
#include "document/SCSubtitle.h"
#include "editor/SCMainViewController.h"
#include "editor/SheetAlert.h"

namespace {

using Refusal = TimeAdjustment::Refusal;

struct Texts {
    QString message;
    QString informative;
};

Texts textsFor(const SCMainViewController& view, TimeAdjustSheet::Action action, double amount,
               const TimeAdjustment::Result& result) {
    const bool srt = view.isSRTView();
    const auto time = [srt](double seconds) {
        return srt ? srtTimeStringFromDoubleTime(seconds) : assTimeStringFromDoubleTime(seconds);
    };
    const bool stretch = action == TimeAdjustSheet::Action::stretch;
    const QString direction = view.timeAdjustDirection() == u"Backward" ? QStringLiteral("Backward")
                                                                        : QStringLiteral("Forward");
    const QString largest = time(result.largestAmount(srt ? 1000 : 100));
    const QString line = QString::number(result.line + 1);
    // The stretch's line is the one that starts last: the list's last line
    // in a file in time order, and named as such where it is not.
    const bool lastInList =
        view.viewSubtitle() && result.line == view.viewSubtitle()->subtitleLinesArray().size() - 1;
    const QString stretchLine = (lastInList ? QStringLiteral("The last line, line ")
                                            : QStringLiteral("The line that starts last, line ")) +
                                line + QStringLiteral(", ends at ") + time(result.limit);
    Texts texts;
    texts.message = (stretch ? QStringLiteral("The Times Can Not be Stretched ")
                             : QStringLiteral("The Times Can Not be Shifted ")) +
                    direction + QStringLiteral(" by ") + time(amount);
    switch (result.refusal) {
        case Refusal::startBeforeZero:
        case Refusal::endBeforeZero: {
            const bool start = result.refusal == Refusal::startBeforeZero;
            texts.informative =
                QStringLiteral("Line ") + line +
                (start ? QStringLiteral(" starts at ") : QStringLiteral(" ends at ")) +
                time(result.limit) + QStringLiteral(", and no line can ") +
                (start ? QStringLiteral("start") : QStringLiteral("end")) +
                QStringLiteral(" before ") + time(0) +
                QStringLiteral(". The largest backward shift is ") + largest + u'.';
            break;
        }
        case Refusal::stretchPastEnd:
            texts.informative = stretchLine +
                                QStringLiteral(
                                    ", and a backward stretch must be shorter than "
                                    "that. The largest backward stretch is ") +
                                largest + u'.';
            break;
        default:
            texts.informative = stretchLine + QStringLiteral(": there is no length to stretch.");
            break;
    }
    return texts;
}

}  // namespace

void TimeAdjustSheet::show(SCMainViewController& view, Action action, double amount,
                           const TimeAdjustment::Result& result) {
    if (result.applied() || result.refusal == Refusal::notAnAmount) return;
    const Texts texts = textsFor(view, action, amount, result);
    QWidget* window = view.viewWindowController() ? view.viewWindowController()->window() : nullptr;
    SheetAlert::begin(window, texts.message, texts.informative, {QStringLiteral("OK")}, {});
}
