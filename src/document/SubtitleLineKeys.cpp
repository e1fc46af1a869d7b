#include "document/SubtitleLineKeys.h"

#include <QHash>

#include "document/SCSubtitleLine.h"
#include "platform/AttributedText.h"

namespace {

enum class Key {
    originalIndex,
    userIndex,
    textTableRowHeight,
    isExcluded,
    timeConflict,
    dialogImage,
    startOverlap,
    endOverlap,
    userStartTimeDouble,
    userEndTimeDouble,
    assDialogDictionary,
    assOrderedDialogKeys,
    Layer,
    Style,
    Name,
    MarginL,
    MarginR,
    MarginV,
    Effect,
    Text,
    originalsDictionary,
    propertiesForDisplayKeys,
    propertyList,
    userStartTimeStringSRT,
    userStartTimeStringASS,
    userEndTimeStringSRT,
    userEndTimeStringASS,
    Start,
    End,
    unformattedTextSRT,
    unformattedTextASS,
    userTextSRT,
    userTextASS,
    spellCheckResultLabel,
    assDialogueFormatString,
    assDialogueString,
    srtDialogueString,
};

std::optional<Key> keyNamed(const QString& name) {
    static const QHash<QString, Key> keys{
        {"originalIndex", Key::originalIndex},
        {"userIndex", Key::userIndex},
        {"textTableRowHeight", Key::textTableRowHeight},
        {"isExcluded", Key::isExcluded},
        {"timeConflict", Key::timeConflict},
        {"dialogImage", Key::dialogImage},
        {"startOverlap", Key::startOverlap},
        {"endOverlap", Key::endOverlap},
        {"userStartTimeDouble", Key::userStartTimeDouble},
        {"userEndTimeDouble", Key::userEndTimeDouble},
        {"assDialogDictionary", Key::assDialogDictionary},
        {"assOrderedDialogKeys", Key::assOrderedDialogKeys},
        {"Layer", Key::Layer},
        {"Style", Key::Style},
        {"Name", Key::Name},
        {"MarginL", Key::MarginL},
        {"MarginR", Key::MarginR},
        {"MarginV", Key::MarginV},
        {"Effect", Key::Effect},
        {"Text", Key::Text},
        {"originalsDictionary", Key::originalsDictionary},
        {"propertiesForDisplayKeys", Key::propertiesForDisplayKeys},
        {"propertyList", Key::propertyList},
        {"userStartTimeStringSRT", Key::userStartTimeStringSRT},
        {"userStartTimeStringASS", Key::userStartTimeStringASS},
        {"userEndTimeStringSRT", Key::userEndTimeStringSRT},
        {"userEndTimeStringASS", Key::userEndTimeStringASS},
        {"Start", Key::Start},
        {"End", Key::End},
        {"unformattedTextSRT", Key::unformattedTextSRT},
        {"unformattedTextASS", Key::unformattedTextASS},
        {"userTextSRT", Key::userTextSRT},
        {"userTextASS", Key::userTextASS},
        {"spellCheckResultLabel", Key::spellCheckResultLabel},
        {"assDialogueFormatString", Key::assDialogueFormatString},
        {"assDialogueString", Key::assDialogueString},
        {"srtDialogueString", Key::srtDialogueString},
    };
    const auto found = keys.constFind(name);
    if (found == keys.constEnd()) return std::nullopt;
    return *found;
}

}  // namespace

QVariant SubtitleLineKeys::value(const SCSubtitleLine& line, const QString& name) {
    const auto key = keyNamed(name);
    if (!key) return {};
    switch (*key) {
        case Key::originalIndex:
            return line.originalIndex();
        case Key::userIndex:
            return line.userIndex();
        case Key::textTableRowHeight:
            return line.textTableRowHeight();
        case Key::isExcluded:
            return line.isExcluded();
        case Key::timeConflict:
            return line.timeConflict();
        case Key::dialogImage:
            return line.dialogImage();
        case Key::startOverlap:
            return line.startOverlap();
        case Key::endOverlap:
            return line.endOverlap();
        case Key::userStartTimeDouble:
            return line.userStartTimeDouble();
        case Key::userEndTimeDouble:
            return line.userEndTimeDouble();
        case Key::assDialogDictionary:
            return line.assDialogDictionary();
        case Key::assOrderedDialogKeys:
            return SCSubtitleLine::assOrderedDialogKeys();
        case Key::Layer:
            return line.Layer();
        case Key::Style:
            return line.Style();
        case Key::Name:
            return line.Name();
        case Key::MarginL:
            return line.MarginL();
        case Key::MarginR:
            return line.MarginR();
        case Key::MarginV:
            return line.MarginV();
        case Key::Effect:
            return line.Effect();
        case Key::Text:
            return line.Text();
        case Key::originalsDictionary:
            return line.originalsDictionary();
        case Key::propertiesForDisplayKeys:
            return SCSubtitleLine::propertiesForDisplayKeys();
        case Key::propertyList:
            return SCSubtitleLine::propertyList();
        case Key::userStartTimeStringSRT:
            return line.userStartTimeStringSRT();
        case Key::userStartTimeStringASS:
            return line.userStartTimeStringASS();
        case Key::userEndTimeStringSRT:
            return line.userEndTimeStringSRT();
        case Key::userEndTimeStringASS:
            return line.userEndTimeStringASS();
        case Key::Start:
            return line.Start();
        case Key::End:
            return line.End();
        case Key::unformattedTextSRT:
            return line.unformattedTextSRT();
        case Key::unformattedTextASS:
            return line.unformattedTextASS();
        case Key::userTextSRT:
            return QVariant::fromValue(line.userTextSRT());
        case Key::userTextASS:
            return QVariant::fromValue(line.userTextASS());
        case Key::spellCheckResultLabel:
            return line.spellCheckResultLabel();
        case Key::assDialogueFormatString:
            return SCSubtitleLine::assDialogueFormatString();
        case Key::assDialogueString:
            return line.assDialogueString();
        case Key::srtDialogueString:
            return line.srtDialogueString();
    }
    return {};
}

bool SubtitleLineKeys::setValue(SCSubtitleLine& line, const QString& name, const QVariant& value) {
    const auto key = keyNamed(name);
    if (!key) return false;
    switch (*key) {
        case Key::originalIndex:
            line.setOriginalIndex(value.toLongLong());
            return true;
        case Key::userIndex:
            line.setUserIndex(value.toLongLong());
            return true;
        case Key::textTableRowHeight:
            line.setTextTableRowHeight(value.toDouble());
            return true;
        case Key::isExcluded:
            line.setIsExcluded(value.toBool());
            return true;
        case Key::timeConflict:
            line.setTimeConflict(value.toString());
            return true;
        case Key::dialogImage:
            line.setDialogImage(value.value<QImage>());
            return true;
        case Key::startOverlap:
            line.setStartOverlap(value.toDouble());
            return true;
        case Key::endOverlap:
            line.setEndOverlap(value.toDouble());
            return true;
        case Key::userStartTimeDouble:
            line.setUserStartTimeDouble(value.toDouble());
            return true;
        case Key::userEndTimeDouble:
            line.setUserEndTimeDouble(value.toDouble());
            return true;
        case Key::assDialogDictionary:
            line.setAssDialogDictionary(value.toMap());
            return true;
        case Key::Layer:
            line.setLayer(value.toLongLong());
            return true;
        case Key::Style:
            line.setStyle(value.toString());
            return true;
        case Key::Name:
            line.setName(value.toString());
            return true;
        case Key::MarginL:
            line.setMarginL(value.toLongLong());
            return true;
        case Key::MarginR:
            line.setMarginR(value.toLongLong());
            return true;
        case Key::MarginV:
            line.setMarginV(value.toLongLong());
            return true;
        case Key::Effect:
            line.setEffect(value.toString());
            return true;
        case Key::Text:
            line.setText(value.toString());
            return true;
        case Key::originalsDictionary:
            line.setOriginalsDictionary(value.toMap());
            return true;
        case Key::userStartTimeStringSRT:
            return line.setUserStartTimeStringSRT(value.toString());
        case Key::userStartTimeStringASS:
            return line.setUserStartTimeStringASS(value.toString());
        case Key::userEndTimeStringSRT:
            return line.setUserEndTimeStringSRT(value.toString());
        case Key::userEndTimeStringASS:
            return line.setUserEndTimeStringASS(value.toString());
        case Key::Start:
            return line.setStart(value.toString());
        case Key::End:
            return line.setEnd(value.toString());
        case Key::unformattedTextSRT:
            line.setUnformattedTextSRT(value.toString());
            return true;
        case Key::unformattedTextASS:
            line.setUnformattedTextASS(value.toString());
            return true;
        case Key::assOrderedDialogKeys:
        case Key::propertiesForDisplayKeys:
        case Key::propertyList:
        case Key::userTextSRT:
        case Key::userTextASS:
        case Key::spellCheckResultLabel:
        case Key::assDialogueFormatString:
        case Key::assDialogueString:
        case Key::srtDialogueString:
            return false;
    }
    return false;
}
