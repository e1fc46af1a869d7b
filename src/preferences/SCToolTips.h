#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <array>
#include <memory>

class SCPreferences;

// The tool-tip texts of every control that has one, each an observable text
// that a control's tool tip follows. All are empty until the user first
// switches tool tips on or off; modifyToolTips then fills or empties them.
// Every assignment announces itself, also when the text stays the same.
class SCToolTips : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString ttVidBitRateField READ ttVidBitRateField WRITE setTtVidBitRateField NOTIFY
                   ttVidBitRateFieldChanged)
    Q_PROPERTY(QString ttResWidthField READ ttResWidthField WRITE setTtResWidthField NOTIFY
                   ttResWidthFieldChanged)
    Q_PROPERTY(QString ttAudioBitRateButton READ ttAudioBitRateButton WRITE setTtAudioBitRateButton
                   NOTIFY ttAudioBitRateButtonChanged)
    Q_PROPERTY(QString ttConvertButton READ ttConvertButton WRITE setTtConvertButton NOTIFY
                   ttConvertButtonChanged)
    Q_PROPERTY(QString ttMediaTypePopUp READ ttMediaTypePopUp WRITE setTtMediaTypePopUp NOTIFY
                   ttMediaTypePopUpChanged)
    Q_PROPERTY(QString ttAddStereoCheckBox READ ttAddStereoCheckBox WRITE setTtAddStereoCheckBox
                   NOTIFY ttAddStereoCheckBoxChanged)
    Q_PROPERTY(
        QString ttDevicePopUp READ ttDevicePopUp WRITE setTtDevicePopUp NOTIFY ttDevicePopUpChanged)
    Q_PROPERTY(QString ttMultipleAudioTrackPopUp READ ttMultipleAudioTrackPopUp WRITE
                   setTtMultipleAudioTrackPopUp NOTIFY ttMultipleAudioTrackPopUpChanged)
    Q_PROPERTY(QString ttTheVideoMatrix READ ttTheVideoMatrix WRITE setTtTheVideoMatrix NOTIFY
                   ttTheVideoMatrixChanged)
    Q_PROPERTY(QString ttTheAudioMatrix READ ttTheAudioMatrix WRITE setTtTheAudioMatrix NOTIFY
                   ttTheAudioMatrixChanged)
    Q_PROPERTY(QString ttTheSubtitleMatrix READ ttTheSubtitleMatrix WRITE setTtTheSubtitleMatrix
                   NOTIFY ttTheSubtitleMatrixChanged)
    Q_PROPERTY(QString ttOpenFilesQueueButton READ ttOpenFilesQueueButton WRITE
                   setTtOpenFilesQueueButton NOTIFY ttOpenFilesQueueButtonChanged)
    Q_PROPERTY(QString ttOpenFilesQueuePanelMatrix READ ttOpenFilesQueuePanelMatrix WRITE
                   setTtOpenFilesQueuePanelMatrix NOTIFY ttOpenFilesQueuePanelMatrixChanged)
    Q_PROPERTY(QString ttOpenFilesQueuePanelTable READ ttOpenFilesQueuePanelTable WRITE
                   setTtOpenFilesQueuePanelTable NOTIFY ttOpenFilesQueuePanelTableChanged)
    Q_PROPERTY(QString ttStartTrackEditButton READ ttStartTrackEditButton WRITE
                   setTtStartTrackEditButton NOTIFY ttStartTrackEditButtonChanged)
    Q_PROPERTY(QString ttEditTrackMatrix READ ttEditTrackMatrix WRITE setTtEditTrackMatrix NOTIFY
                   ttEditTrackMatrixChanged)
    Q_PROPERTY(QString ttEditPAR READ ttEditPAR WRITE setTtEditPAR NOTIFY ttEditPARChanged)
    Q_PROPERTY(QString ttSplitStartTime READ ttSplitStartTime WRITE setTtSplitStartTime NOTIFY
                   ttSplitStartTimeChanged)
    Q_PROPERTY(QString ttSplitEndTime READ ttSplitEndTime WRITE setTtSplitEndTime NOTIFY
                   ttSplitEndTimeChanged)
    Q_PROPERTY(QString ttSplitSize READ ttSplitSize WRITE setTtSplitSize NOTIFY ttSplitSizeChanged)
    Q_PROPERTY(
        QString ttJoinButton READ ttJoinButton WRITE setTtJoinButton NOTIFY ttJoinButtonChanged)
    Q_PROPERTY(QString ttMetadataButton READ ttMetadataButton WRITE setTtMetadataButton NOTIFY
                   ttMetadataButtonChanged)
    Q_PROPERTY(QString ttConvertFileField READ ttConvertFileField WRITE setTtConvertFileField NOTIFY
                   ttConvertFileFieldChanged)
    Q_PROPERTY(QString ttConvertTrackTable READ ttConvertTrackTable WRITE setTtConvertTrackTable
                   NOTIFY ttConvertTrackTableChanged)
    Q_PROPERTY(
        QString ttPlayButton READ ttPlayButton WRITE setTtPlayButton NOTIFY ttPlayButtonChanged)
    Q_PROPERTY(QString ttAddButton READ ttAddButton WRITE setTtAddButton NOTIFY ttAddButtonChanged)
    Q_PROPERTY(QString ttToggleVideoButton READ ttToggleVideoButton WRITE setTtToggleVideoButton
                   NOTIFY ttToggleVideoButtonChanged)
    Q_PROPERTY(QString ttToggleAudioButton READ ttToggleAudioButton WRITE setTtToggleAudioButton
                   NOTIFY ttToggleAudioButtonChanged)
    Q_PROPERTY(QString ttToggleSubtitleButton READ ttToggleSubtitleButton WRITE
                   setTtToggleSubtitleButton NOTIFY ttToggleSubtitleButtonChanged)
    Q_PROPERTY(QString ttPresetSettingsPopUp READ ttPresetSettingsPopUp WRITE
                   setTtPresetSettingsPopUp NOTIFY ttPresetSettingsPopUpChanged)
    Q_PROPERTY(QString ttPresetSelectionsPopUp READ ttPresetSelectionsPopUp WRITE
                   setTtPresetSelectionsPopUp NOTIFY ttPresetSelectionsPopUpChanged)
    Q_PROPERTY(QString ttStartWatchingFolderButton READ ttStartWatchingFolderButton WRITE
                   setTtStartWatchingFolderButton NOTIFY ttStartWatchingFolderButtonChanged)
    Q_PROPERTY(
        QString ttQueueTable READ ttQueueTable WRITE setTtQueueTable NOTIFY ttQueueTableChanged)
    Q_PROPERTY(QString ttQueueJobTable READ ttQueueJobTable WRITE setTtQueueJobTable NOTIFY
                   ttQueueJobTableChanged)
    Q_PROPERTY(QString ttQueueClearButton READ ttQueueClearButton WRITE setTtQueueClearButton NOTIFY
                   ttQueueClearButtonChanged)
    Q_PROPERTY(QString ttQueuePauseButton READ ttQueuePauseButton WRITE setTtQueuePauseButton NOTIFY
                   ttQueuePauseButtonChanged)
    Q_PROPERTY(QString ttPrefLogsButton READ ttPrefLogsButton WRITE setTtPrefLogsButton NOTIFY
                   ttPrefLogsButtonChanged)
    Q_PROPERTY(QString ttPrefToolTipsButton READ ttPrefToolTipsButton WRITE setTtPrefToolTipsButton
                   NOTIFY ttPrefToolTipsButtonChanged)
    Q_PROPERTY(QString ttPrefOptimizeStreamingButton READ ttPrefOptimizeStreamingButton WRITE
                   setTtPrefOptimizeStreamingButton NOTIFY ttPrefOptimizeStreamingButtonChanged)
    Q_PROPERTY(QString ttPrefForceMP4Button READ ttPrefForceMP4Button WRITE setTtPrefForceMP4Button
                   NOTIFY ttPrefForceMP4ButtonChanged)
    Q_PROPERTY(QString ttPrefUseDpliiButton READ ttPrefUseDpliiButton WRITE setTtPrefUseDpliiButton
                   NOTIFY ttPrefUseDpliiButtonChanged)
    Q_PROPERTY(QString ttPrefSubPosField READ ttPrefSubPosField WRITE setTtPrefSubPosField NOTIFY
                   ttPrefSubPosFieldChanged)
    Q_PROPERTY(QString ttPrefSubHeightField READ ttPrefSubHeightField WRITE setTtPrefSubHeightField
                   NOTIFY ttPrefSubHeightFieldChanged)
    Q_PROPERTY(QString ttPrefSubFontField READ ttPrefSubFontField WRITE setTtPrefSubFontField NOTIFY
                   ttPrefSubFontFieldChanged)
    Q_PROPERTY(
        QString ttPresetTable READ ttPresetTable WRITE setTtPresetTable NOTIFY ttPresetTableChanged)
    Q_PROPERTY(QString ttAddPresetButton READ ttAddPresetButton WRITE setTtAddPresetButton NOTIFY
                   ttAddPresetButtonChanged)
    Q_PROPERTY(QString ttRemovePresetButton READ ttRemovePresetButton WRITE setTtRemovePresetButton
                   NOTIFY ttRemovePresetButtonChanged)
    Q_PROPERTY(
        QString ttPresetName READ ttPresetName WRITE setTtPresetName NOTIFY ttPresetNameChanged)
    Q_PROPERTY(QString ttVideoTrackSelectionPopUp READ ttVideoTrackSelectionPopUp WRITE
                   setTtVideoTrackSelectionPopUp NOTIFY ttVideoTrackSelectionPopUpChanged)
    Q_PROPERTY(QString ttAudioTrackSelectionPopUp READ ttAudioTrackSelectionPopUp WRITE
                   setTtAudioTrackSelectionPopUp NOTIFY ttAudioTrackSelectionPopUpChanged)
    Q_PROPERTY(QString ttSubtitleTrackSelectionPopUp READ ttSubtitleTrackSelectionPopUp WRITE
                   setTtSubtitleTrackSelectionPopUp NOTIFY ttSubtitleTrackSelectionPopUpChanged)
    Q_PROPERTY(
        QString ttPDeviceList READ ttPDeviceList WRITE setTtPDeviceList NOTIFY ttPDeviceListChanged)
    Q_PROPERTY(QString ttPVideoActionList READ ttPVideoActionList WRITE setTtPVideoActionList NOTIFY
                   ttPVideoActionListChanged)
    Q_PROPERTY(QString ttPVideoGenericList READ ttPVideoGenericList WRITE setTtPVideoGenericList
                   NOTIFY ttPVideoGenericListChanged)
    Q_PROPERTY(QString ttPStereoAudio READ ttPStereoAudio WRITE setTtPStereoAudio NOTIFY
                   ttPStereoAudioChanged)
    Q_PROPERTY(QString ttPSurroundAudio READ ttPSurroundAudio WRITE setTtPSurroundAudio NOTIFY
                   ttPSurroundAudioChanged)
    Q_PROPERTY(QString ttPSubActionList READ ttPSubActionList WRITE setTtPSubActionList NOTIFY
                   ttPSubActionListChanged)
    Q_PROPERTY(QString ttAddFilterButton READ ttAddFilterButton WRITE setTtAddFilterButton NOTIFY
                   ttAddFilterButtonChanged)
    Q_PROPERTY(
        QString ttFilterMode READ ttFilterMode WRITE setTtFilterMode NOTIFY ttFilterModeChanged)
    Q_PROPERTY(QString ttMEFilesTable READ ttMEFilesTable WRITE setTtMEFilesTable NOTIFY
                   ttMEFilesTableChanged)
    Q_PROPERTY(QString ttMESearchButton READ ttMESearchButton WRITE setTtMESearchButton NOTIFY
                   ttMESearchButtonChanged)
    Q_PROPERTY(QString ttMECancelButton READ ttMECancelButton WRITE setTtMECancelButton NOTIFY
                   ttMECancelButtonChanged)
    Q_PROPERTY(QString ttMESaveButton READ ttMESaveButton WRITE setTtMESaveButton NOTIFY
                   ttMESaveButtonChanged)
    Q_PROPERTY(QString ttMSFilesTable READ ttMSFilesTable WRITE setTtMSFilesTable NOTIFY
                   ttMSFilesTableChanged)
    Q_PROPERTY(QString ttMSResultsTable READ ttMSResultsTable WRITE setTtMSResultsTable NOTIFY
                   ttMSResultsTableChanged)
    Q_PROPERTY(QString ttMSMetadataTable READ ttMSMetadataTable WRITE setTtMSMetadataTable NOTIFY
                   ttMSMetadataTableChanged)
    Q_PROPERTY(QString ttMSReplaceAllButton READ ttMSReplaceAllButton WRITE setTtMSReplaceAllButton
                   NOTIFY ttMSReplaceAllButtonChanged)
    Q_PROPERTY(QString ttMSUpdateButton READ ttMSUpdateButton WRITE setTtMSUpdateButton NOTIFY
                   ttMSUpdateButtonChanged)
    Q_PROPERTY(QString ttMSCancelButton READ ttMSCancelButton WRITE setTtMSCancelButton NOTIFY
                   ttMSCancelButtonChanged)
    Q_PROPERTY(QString ttMSAddToAllButton READ ttMSAddToAllButton WRITE setTtMSAddToAllButton NOTIFY
                   ttMSAddToAllButtonChanged)
    Q_PROPERTY(QString ttMSSearchButton READ ttMSSearchButton WRITE setTtMSSearchButton NOTIFY
                   ttMSSearchButtonChanged)
    Q_PROPERTY(QString ttMSEpisodesButton READ ttMSEpisodesButton WRITE setTtMSEpisodesButton NOTIFY
                   ttMSEpisodesButtonChanged)
    Q_PROPERTY(QString ttMSLanguagePopup READ ttMSLanguagePopup WRITE setTtMSLanguagePopup NOTIFY
                   ttMSLanguagePopupChanged)
    Q_PROPERTY(QString ttMSCountryPopup READ ttMSCountryPopup WRITE setTtMSCountryPopup NOTIFY
                   ttMSCountryPopupChanged)
    Q_PROPERTY(QString ttMSNoneButton READ ttMSNoneButton WRITE setTtMSNoneButton NOTIFY
                   ttMSNoneButtonChanged)
    Q_PROPERTY(
        QString ttMSAllButton READ ttMSAllButton WRITE setTtMSAllButton NOTIFY ttMSAllButtonChanged)
    Q_PROPERTY(QString ttMSApplyToAllButton READ ttMSApplyToAllButton WRITE setTtMSApplyToAllButton
                   NOTIFY ttMSApplyToAllButtonChanged)
    Q_PROPERTY(QString ttMSSeasonEpisodeTextField READ ttMSSeasonEpisodeTextField WRITE
                   setTtMSSeasonEpisodeTextField NOTIFY ttMSSeasonEpisodeTextFieldChanged)

  public:
    static constexpr int kToolTipCount = 78;

    explicit SCToolTips(QObject* parent = nullptr);

    // The names of the texts, in declaration order.
    static const QStringList& toolTipKeys();

    // The application's one preferences object, looked up at every read.
    std::shared_ptr<SCPreferences> appPreferences() const;

    // Reads "showToolTipsFlag" of the panel dictionary (absent or not a flag:
    // on, and the dictionary is left alone) and sets the 75 texts for that
    // state, in the order of the texts table.
    Q_INVOKABLE void modifyToolTips();

    // By-name access. Reading an unknown name gives an invalid QVariant;
    // writing one, or a value that is not text, is refused with false. A null
    // value is stored as the empty text.
    QVariant valueForKey(const QString& key) const;
    bool setValueForKey(const QString& key, const QVariant& value);

    // clang-format off
#define QUILLMAR_TOOL_TIP(index, name, Name) \
    QString name() const { return texts_[index]; } \
    void set##Name(const QString& text) { \
        texts_[index] = text.isNull() ? QStringLiteral("") : text; \
        emit name##Changed(texts_[index]); \
    }
    QUILLMAR_TOOL_TIP(0, ttVidBitRateField, TtVidBitRateField)
    QUILLMAR_TOOL_TIP(1, ttResWidthField, TtResWidthField)
    QUILLMAR_TOOL_TIP(2, ttAudioBitRateButton, TtAudioBitRateButton)
    QUILLMAR_TOOL_TIP(3, ttConvertButton, TtConvertButton)
    QUILLMAR_TOOL_TIP(4, ttMediaTypePopUp, TtMediaTypePopUp)
    QUILLMAR_TOOL_TIP(5, ttAddStereoCheckBox, TtAddStereoCheckBox)
    QUILLMAR_TOOL_TIP(6, ttDevicePopUp, TtDevicePopUp)
    QUILLMAR_TOOL_TIP(7, ttMultipleAudioTrackPopUp, TtMultipleAudioTrackPopUp)
    QUILLMAR_TOOL_TIP(8, ttTheVideoMatrix, TtTheVideoMatrix)
    QUILLMAR_TOOL_TIP(9, ttTheAudioMatrix, TtTheAudioMatrix)
    QUILLMAR_TOOL_TIP(10, ttTheSubtitleMatrix, TtTheSubtitleMatrix)
    QUILLMAR_TOOL_TIP(11, ttOpenFilesQueueButton, TtOpenFilesQueueButton)
    QUILLMAR_TOOL_TIP(12, ttOpenFilesQueuePanelMatrix, TtOpenFilesQueuePanelMatrix)
    QUILLMAR_TOOL_TIP(13, ttOpenFilesQueuePanelTable, TtOpenFilesQueuePanelTable)
    QUILLMAR_TOOL_TIP(14, ttStartTrackEditButton, TtStartTrackEditButton)
    QUILLMAR_TOOL_TIP(15, ttEditTrackMatrix, TtEditTrackMatrix)
    QUILLMAR_TOOL_TIP(16, ttEditPAR, TtEditPAR)
    QUILLMAR_TOOL_TIP(17, ttSplitStartTime, TtSplitStartTime)
    QUILLMAR_TOOL_TIP(18, ttSplitEndTime, TtSplitEndTime)
    QUILLMAR_TOOL_TIP(19, ttSplitSize, TtSplitSize)
    QUILLMAR_TOOL_TIP(20, ttJoinButton, TtJoinButton)
    QUILLMAR_TOOL_TIP(21, ttMetadataButton, TtMetadataButton)
    QUILLMAR_TOOL_TIP(22, ttConvertFileField, TtConvertFileField)
    QUILLMAR_TOOL_TIP(23, ttConvertTrackTable, TtConvertTrackTable)
    QUILLMAR_TOOL_TIP(24, ttPlayButton, TtPlayButton)
    QUILLMAR_TOOL_TIP(25, ttAddButton, TtAddButton)
    QUILLMAR_TOOL_TIP(26, ttToggleVideoButton, TtToggleVideoButton)
    QUILLMAR_TOOL_TIP(27, ttToggleAudioButton, TtToggleAudioButton)
    QUILLMAR_TOOL_TIP(28, ttToggleSubtitleButton, TtToggleSubtitleButton)
    QUILLMAR_TOOL_TIP(29, ttPresetSettingsPopUp, TtPresetSettingsPopUp)
    QUILLMAR_TOOL_TIP(30, ttPresetSelectionsPopUp, TtPresetSelectionsPopUp)
    QUILLMAR_TOOL_TIP(31, ttStartWatchingFolderButton, TtStartWatchingFolderButton)
    QUILLMAR_TOOL_TIP(32, ttQueueTable, TtQueueTable)
    QUILLMAR_TOOL_TIP(33, ttQueueJobTable, TtQueueJobTable)
    QUILLMAR_TOOL_TIP(34, ttQueueClearButton, TtQueueClearButton)
    QUILLMAR_TOOL_TIP(35, ttQueuePauseButton, TtQueuePauseButton)
    QUILLMAR_TOOL_TIP(36, ttPrefLogsButton, TtPrefLogsButton)
    QUILLMAR_TOOL_TIP(37, ttPrefToolTipsButton, TtPrefToolTipsButton)
    QUILLMAR_TOOL_TIP(38, ttPrefOptimizeStreamingButton, TtPrefOptimizeStreamingButton)
    QUILLMAR_TOOL_TIP(39, ttPrefForceMP4Button, TtPrefForceMP4Button)
    QUILLMAR_TOOL_TIP(40, ttPrefUseDpliiButton, TtPrefUseDpliiButton)
    QUILLMAR_TOOL_TIP(41, ttPrefSubPosField, TtPrefSubPosField)
    QUILLMAR_TOOL_TIP(42, ttPrefSubHeightField, TtPrefSubHeightField)
    QUILLMAR_TOOL_TIP(43, ttPrefSubFontField, TtPrefSubFontField)
    QUILLMAR_TOOL_TIP(44, ttPresetTable, TtPresetTable)
    QUILLMAR_TOOL_TIP(45, ttAddPresetButton, TtAddPresetButton)
    QUILLMAR_TOOL_TIP(46, ttRemovePresetButton, TtRemovePresetButton)
    QUILLMAR_TOOL_TIP(47, ttPresetName, TtPresetName)
    QUILLMAR_TOOL_TIP(48, ttVideoTrackSelectionPopUp, TtVideoTrackSelectionPopUp)
    QUILLMAR_TOOL_TIP(49, ttAudioTrackSelectionPopUp, TtAudioTrackSelectionPopUp)
    QUILLMAR_TOOL_TIP(50, ttSubtitleTrackSelectionPopUp, TtSubtitleTrackSelectionPopUp)
    QUILLMAR_TOOL_TIP(51, ttPDeviceList, TtPDeviceList)
    QUILLMAR_TOOL_TIP(52, ttPVideoActionList, TtPVideoActionList)
    QUILLMAR_TOOL_TIP(53, ttPVideoGenericList, TtPVideoGenericList)
    QUILLMAR_TOOL_TIP(54, ttPStereoAudio, TtPStereoAudio)
    QUILLMAR_TOOL_TIP(55, ttPSurroundAudio, TtPSurroundAudio)
    QUILLMAR_TOOL_TIP(56, ttPSubActionList, TtPSubActionList)
    QUILLMAR_TOOL_TIP(57, ttAddFilterButton, TtAddFilterButton)
    QUILLMAR_TOOL_TIP(58, ttFilterMode, TtFilterMode)
    QUILLMAR_TOOL_TIP(59, ttMEFilesTable, TtMEFilesTable)
    QUILLMAR_TOOL_TIP(60, ttMESearchButton, TtMESearchButton)
    QUILLMAR_TOOL_TIP(61, ttMECancelButton, TtMECancelButton)
    QUILLMAR_TOOL_TIP(62, ttMESaveButton, TtMESaveButton)
    QUILLMAR_TOOL_TIP(63, ttMSFilesTable, TtMSFilesTable)
    QUILLMAR_TOOL_TIP(64, ttMSResultsTable, TtMSResultsTable)
    QUILLMAR_TOOL_TIP(65, ttMSMetadataTable, TtMSMetadataTable)
    QUILLMAR_TOOL_TIP(66, ttMSReplaceAllButton, TtMSReplaceAllButton)
    QUILLMAR_TOOL_TIP(67, ttMSUpdateButton, TtMSUpdateButton)
    QUILLMAR_TOOL_TIP(68, ttMSCancelButton, TtMSCancelButton)
    QUILLMAR_TOOL_TIP(69, ttMSAddToAllButton, TtMSAddToAllButton)
    QUILLMAR_TOOL_TIP(70, ttMSSearchButton, TtMSSearchButton)
    QUILLMAR_TOOL_TIP(71, ttMSEpisodesButton, TtMSEpisodesButton)
    QUILLMAR_TOOL_TIP(72, ttMSLanguagePopup, TtMSLanguagePopup)
    QUILLMAR_TOOL_TIP(73, ttMSCountryPopup, TtMSCountryPopup)
    QUILLMAR_TOOL_TIP(74, ttMSNoneButton, TtMSNoneButton)
    QUILLMAR_TOOL_TIP(75, ttMSAllButton, TtMSAllButton)
    QUILLMAR_TOOL_TIP(76, ttMSApplyToAllButton, TtMSApplyToAllButton)
    QUILLMAR_TOOL_TIP(77, ttMSSeasonEpisodeTextField, TtMSSeasonEpisodeTextField)
#undef QUILLMAR_TOOL_TIP
    // clang-format on

  signals:
    void ttVidBitRateFieldChanged(const QString& text);
    void ttResWidthFieldChanged(const QString& text);
    void ttAudioBitRateButtonChanged(const QString& text);
    void ttConvertButtonChanged(const QString& text);
    void ttMediaTypePopUpChanged(const QString& text);
    void ttAddStereoCheckBoxChanged(const QString& text);
    void ttDevicePopUpChanged(const QString& text);
    void ttMultipleAudioTrackPopUpChanged(const QString& text);
    void ttTheVideoMatrixChanged(const QString& text);
    void ttTheAudioMatrixChanged(const QString& text);
    void ttTheSubtitleMatrixChanged(const QString& text);
    void ttOpenFilesQueueButtonChanged(const QString& text);
    void ttOpenFilesQueuePanelMatrixChanged(const QString& text);
    void ttOpenFilesQueuePanelTableChanged(const QString& text);
    void ttStartTrackEditButtonChanged(const QString& text);
    void ttEditTrackMatrixChanged(const QString& text);
    void ttEditPARChanged(const QString& text);
    void ttSplitStartTimeChanged(const QString& text);
    void ttSplitEndTimeChanged(const QString& text);
    void ttSplitSizeChanged(const QString& text);
    void ttJoinButtonChanged(const QString& text);
    void ttMetadataButtonChanged(const QString& text);
    void ttConvertFileFieldChanged(const QString& text);
    void ttConvertTrackTableChanged(const QString& text);
    void ttPlayButtonChanged(const QString& text);
    void ttAddButtonChanged(const QString& text);
    void ttToggleVideoButtonChanged(const QString& text);
    void ttToggleAudioButtonChanged(const QString& text);
    void ttToggleSubtitleButtonChanged(const QString& text);
    void ttPresetSettingsPopUpChanged(const QString& text);
    void ttPresetSelectionsPopUpChanged(const QString& text);
    void ttStartWatchingFolderButtonChanged(const QString& text);
    void ttQueueTableChanged(const QString& text);
    void ttQueueJobTableChanged(const QString& text);
    void ttQueueClearButtonChanged(const QString& text);
    void ttQueuePauseButtonChanged(const QString& text);
    void ttPrefLogsButtonChanged(const QString& text);
    void ttPrefToolTipsButtonChanged(const QString& text);
    void ttPrefOptimizeStreamingButtonChanged(const QString& text);
    void ttPrefForceMP4ButtonChanged(const QString& text);
    void ttPrefUseDpliiButtonChanged(const QString& text);
    void ttPrefSubPosFieldChanged(const QString& text);
    void ttPrefSubHeightFieldChanged(const QString& text);
    void ttPrefSubFontFieldChanged(const QString& text);
    void ttPresetTableChanged(const QString& text);
    void ttAddPresetButtonChanged(const QString& text);
    void ttRemovePresetButtonChanged(const QString& text);
    void ttPresetNameChanged(const QString& text);
    void ttVideoTrackSelectionPopUpChanged(const QString& text);
    void ttAudioTrackSelectionPopUpChanged(const QString& text);
    void ttSubtitleTrackSelectionPopUpChanged(const QString& text);
    void ttPDeviceListChanged(const QString& text);
    void ttPVideoActionListChanged(const QString& text);
    void ttPVideoGenericListChanged(const QString& text);
    void ttPStereoAudioChanged(const QString& text);
    void ttPSurroundAudioChanged(const QString& text);
    void ttPSubActionListChanged(const QString& text);
    void ttAddFilterButtonChanged(const QString& text);
    void ttFilterModeChanged(const QString& text);
    void ttMEFilesTableChanged(const QString& text);
    void ttMESearchButtonChanged(const QString& text);
    void ttMECancelButtonChanged(const QString& text);
    void ttMESaveButtonChanged(const QString& text);
    void ttMSFilesTableChanged(const QString& text);
    void ttMSResultsTableChanged(const QString& text);
    void ttMSMetadataTableChanged(const QString& text);
    void ttMSReplaceAllButtonChanged(const QString& text);
    void ttMSUpdateButtonChanged(const QString& text);
    void ttMSCancelButtonChanged(const QString& text);
    void ttMSAddToAllButtonChanged(const QString& text);
    void ttMSSearchButtonChanged(const QString& text);
    void ttMSEpisodesButtonChanged(const QString& text);
    void ttMSLanguagePopupChanged(const QString& text);
    void ttMSCountryPopupChanged(const QString& text);
    void ttMSNoneButtonChanged(const QString& text);
    void ttMSAllButtonChanged(const QString& text);
    void ttMSApplyToAllButtonChanged(const QString& text);
    void ttMSSeasonEpisodeTextFieldChanged(const QString& text);

  private:
    std::array<QString, kToolTipCount> texts_;
};
