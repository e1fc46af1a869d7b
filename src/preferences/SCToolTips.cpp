#include "preferences/SCToolTips.h"

#include <QMetaProperty>

#include "preferences/ToolTipTexts.h"
#include "tools/ApplicationContext.h"
#include "tools/SCPreferences.h"

namespace {

const QString kFlagKey = QStringLiteral("showToolTipsFlag");
const QString kUpdateButtonKey = QStringLiteral("ttMSUpdateButton");

}  // namespace

SCToolTips::SCToolTips(QObject* parent) : QObject(parent) {
    for (QString& text : texts_) text = QStringLiteral("");
}

const QStringList& SCToolTips::toolTipKeys() {
    static const QStringList keys = {QStringLiteral("ttVidBitRateField"),
                                     QStringLiteral("ttResWidthField"),
                                     QStringLiteral("ttAudioBitRateButton"),
                                     QStringLiteral("ttConvertButton"),
                                     QStringLiteral("ttMediaTypePopUp"),
                                     QStringLiteral("ttAddStereoCheckBox"),
                                     QStringLiteral("ttDevicePopUp"),
                                     QStringLiteral("ttMultipleAudioTrackPopUp"),
                                     QStringLiteral("ttTheVideoMatrix"),
                                     QStringLiteral("ttTheAudioMatrix"),
                                     QStringLiteral("ttTheSubtitleMatrix"),
                                     QStringLiteral("ttOpenFilesQueueButton"),
                                     QStringLiteral("ttOpenFilesQueuePanelMatrix"),
                                     QStringLiteral("ttOpenFilesQueuePanelTable"),
                                     QStringLiteral("ttStartTrackEditButton"),
                                     QStringLiteral("ttEditTrackMatrix"),
                                     QStringLiteral("ttEditPAR"),
                                     QStringLiteral("ttSplitStartTime"),
                                     QStringLiteral("ttSplitEndTime"),
                                     QStringLiteral("ttSplitSize"),
                                     QStringLiteral("ttJoinButton"),
                                     QStringLiteral("ttMetadataButton"),
                                     QStringLiteral("ttConvertFileField"),
                                     QStringLiteral("ttConvertTrackTable"),
                                     QStringLiteral("ttPlayButton"),
                                     QStringLiteral("ttAddButton"),
                                     QStringLiteral("ttToggleVideoButton"),
                                     QStringLiteral("ttToggleAudioButton"),
                                     QStringLiteral("ttToggleSubtitleButton"),
                                     QStringLiteral("ttPresetSettingsPopUp"),
                                     QStringLiteral("ttPresetSelectionsPopUp"),
                                     QStringLiteral("ttStartWatchingFolderButton"),
                                     QStringLiteral("ttQueueTable"),
                                     QStringLiteral("ttQueueJobTable"),
                                     QStringLiteral("ttQueueClearButton"),
                                     QStringLiteral("ttQueuePauseButton"),
                                     QStringLiteral("ttPrefLogsButton"),
                                     QStringLiteral("ttPrefToolTipsButton"),
                                     QStringLiteral("ttPrefOptimizeStreamingButton"),
                                     QStringLiteral("ttPrefForceMP4Button"),
                                     QStringLiteral("ttPrefUseDpliiButton"),
                                     QStringLiteral("ttPrefSubPosField"),
                                     QStringLiteral("ttPrefSubHeightField"),
                                     QStringLiteral("ttPrefSubFontField"),
                                     QStringLiteral("ttPresetTable"),
                                     QStringLiteral("ttAddPresetButton"),
                                     QStringLiteral("ttRemovePresetButton"),
                                     QStringLiteral("ttPresetName"),
                                     QStringLiteral("ttVideoTrackSelectionPopUp"),
                                     QStringLiteral("ttAudioTrackSelectionPopUp"),
                                     QStringLiteral("ttSubtitleTrackSelectionPopUp"),
                                     QStringLiteral("ttPDeviceList"),
                                     QStringLiteral("ttPVideoActionList"),
                                     QStringLiteral("ttPVideoGenericList"),
                                     QStringLiteral("ttPStereoAudio"),
                                     QStringLiteral("ttPSurroundAudio"),
                                     QStringLiteral("ttPSubActionList"),
                                     QStringLiteral("ttAddFilterButton"),
                                     QStringLiteral("ttFilterMode"),
                                     QStringLiteral("ttMEFilesTable"),
                                     QStringLiteral("ttMESearchButton"),
                                     QStringLiteral("ttMECancelButton"),
                                     QStringLiteral("ttMESaveButton"),
                                     QStringLiteral("ttMSFilesTable"),
                                     QStringLiteral("ttMSResultsTable"),
                                     QStringLiteral("ttMSMetadataTable"),
                                     QStringLiteral("ttMSReplaceAllButton"),
                                     QStringLiteral("ttMSUpdateButton"),
                                     QStringLiteral("ttMSCancelButton"),
                                     QStringLiteral("ttMSAddToAllButton"),
                                     QStringLiteral("ttMSSearchButton"),
                                     QStringLiteral("ttMSEpisodesButton"),
                                     QStringLiteral("ttMSLanguagePopup"),
                                     QStringLiteral("ttMSCountryPopup"),
                                     QStringLiteral("ttMSNoneButton"),
                                     QStringLiteral("ttMSAllButton"),
                                     QStringLiteral("ttMSApplyToAllButton"),
                                     QStringLiteral("ttMSSeasonEpisodeTextField")};
    return keys;
}

std::shared_ptr<SCPreferences> SCToolTips::appPreferences() const {
    return ApplicationContext::appPreferences();
}

void SCToolTips::modifyToolTips() {
    bool on = true;
    if (const auto dictionary = appPreferences()->preferencePanelDictionary()) {
        const QVariant flag = dictionary->value(kFlagKey);
        if (flag.metaType().id() == QMetaType::Bool) on = flag.toBool();
    }
    for (const ToolTipText& row : toolTipOnTexts()) {
        if (on)
            setValueForKey(row.key, row.text);
        else
            setValueForKey(row.key, row.key == kUpdateButtonKey
                                        ? QStringLiteral("update button off")
                                        : QStringLiteral(""));
    }
}

QVariant SCToolTips::valueForKey(const QString& key) const {
    const qsizetype index = toolTipKeys().indexOf(key);
    if (index < 0) return {};
    return texts_[static_cast<size_t>(index)];
}

bool SCToolTips::setValueForKey(const QString& key, const QVariant& value) {
    if (!toolTipKeys().contains(key)) return false;
    QString text;
    if (value.isValid() && !value.isNull()) {
        if (value.metaType().id() != QMetaType::QString) return false;
        text = value.toString();
    }
    // Through the property's own setter, so that the change is announced.
    const QMetaObject* meta = metaObject();
    const int index = meta->indexOfProperty(key.toLatin1().constData());
    return index >= 0 && meta->property(index).write(this, text);
}
