#include <QCheckBox>
#include <QCryptographicHash>
#include <QMetaProperty>

#include "PreferencesFixture.h"
#include "preferences/PreferencesWindow.h"
#include "preferences/ToolTipTexts.h"

namespace {

const QStringList kNeverWritten = {"ttPrefSubPosField", "ttPrefSubHeightField",
                                   "ttPrefSubFontField"};

// Every announced assignment of the holder, by property name, in order, with
// the text the signal carried.
class AssignmentRecorder : public QObject {
    Q_OBJECT

  public:
    explicit AssignmentRecorder(SCToolTips* holder) {
        const QMetaObject* meta = holder->metaObject();
        const int slot = metaObject()->indexOfSlot("record(QString)");
        for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
            const QMetaProperty property = meta->property(i);
            names.insert(property.notifySignalIndex(), QString::fromLatin1(property.name()));
            connect(holder, property.notifySignal(), this, metaObject()->method(slot));
        }
    }

    QStringList order;
    QStringList texts;

  public slots:
    void record(const QString& text) {
        order.append(names.value(senderSignalIndex()));
        texts.append(text);
    }

  private:
    QMap<int, QString> names;
};

class ToolTips : public PreferencesFixture {
  protected:
    QString text(const QString& key) const { return toolTips->valueForKey(key).toString(); }

    QStringList tableOrder() const {
        QStringList keys;
        for (const ToolTipText& row : toolTipOnTexts()) keys.append(row.key);
        return keys;
    }
};

TEST_F(ToolTips, OnTextsAreTheTableByteForByte) {
    setPanelEntry("showToolTipsFlag", true);
    toolTips->modifyToolTips();

    QStringList texts;
    for (const QString& key : tableOrder()) texts.append(text(key));
    const QByteArray joined = texts.join(u'\n').toUtf8();
    EXPECT_EQ(joined.size(), 9239);
    EXPECT_EQ(QCryptographicHash::hash(joined, QCryptographicHash::Sha256).toHex(),
              "cce6dcf6de400aaf3d73bccf26be07add94062d0321528193db3e4c71f33d15e");

    // The details a careless copy loses.
    EXPECT_TRUE(text("ttFilterMode").contains("potentially multiple selections.\rPrioritized"));
    for (const char* key : {"ttOpenFilesQueueButton", "ttMSFilesTable", "ttMSLanguagePopup",
                            "ttMSSeasonEpisodeTextField"})
        EXPECT_FALSE(text(key).endsWith(u'.')) << key;
    EXPECT_TRUE(text("ttSplitStartTime").contains("entered value. All tracks"));
    EXPECT_TRUE(text("ttMSUpdateButton").startsWith("Transfers the selected search results"));
    for (const QString& key : kNeverWritten) EXPECT_EQ(text(key), "") << key.toStdString();
}

TEST_F(ToolTips, StartEmptyAndFollowTheStoredFlag) {
    for (const QString& key : SCToolTips::toolTipKeys()) {
        ASSERT_TRUE(toolTips->valueForKey(key).isValid()) << key.toStdString();
        EXPECT_EQ(text(key), "") << key.toStdString();
    }

    setPanelEntry("showToolTipsFlag", true);
    toolTips->modifyToolTips();
    setPanelEntry("showToolTipsFlag", false);
    toolTips->modifyToolTips();
    for (const QString& key : SCToolTips::toolTipKeys()) {
        const QString expected = key == "ttMSUpdateButton" ? "update button off" : "";
        EXPECT_EQ(text(key), expected) << key.toStdString();
    }
}

TEST_F(ToolTips, EveryCallAnnouncesTheSeventyFiveInTableOrder) {
    AssignmentRecorder recorder(toolTips.get());
    QStringList expected = tableOrder();
    EXPECT_EQ(expected.mid(1, 2), (QStringList{"ttAudioBitRateButton", "ttResWidthField"}));
    EXPECT_EQ(expected.mid(12, 2),
              (QStringList{"ttOpenFilesQueuePanelTable", "ttOpenFilesQueuePanelMatrix"}));

    setPanelEntry("showToolTipsFlag", true);
    toolTips->modifyToolTips();
    toolTips->modifyToolTips();
    setPanelEntry("showToolTipsFlag", false);
    toolTips->modifyToolTips();
    toolTips->modifyToolTips();

    EXPECT_EQ(recorder.order, expected + expected + expected + expected);
    for (const QString& key : kNeverWritten) EXPECT_FALSE(recorder.order.contains(key));
}

TEST_F(ToolTips, AMissingOrOddFlagCountsAsOnAndIsLeftAlone) {
    const QVariant cases[] = {QVariant(), QVariant("false"), QVariant(0)};
    for (const QVariant& flag : cases) {
        preferences->modifyPreferencePanelDictionary([&](std::optional<QVariantMap>& dictionary) {
            dictionary->remove("showToolTipsFlag");
            if (flag.isValid()) dictionary->insert("showToolTipsFlag", flag);
        });
        const QVariantMap before = panel();
        toolTips->modifyToolTips();
        EXPECT_EQ(text("ttConvertButton").left(30), "Click to start the conversion ");
        EXPECT_EQ(panel(), before);
    }
    preferences->setPreferencePanelDictionary(std::nullopt);
    toolTips->modifyToolTips();
    EXPECT_EQ(preferences->preferencePanelDictionary(), std::nullopt);
}

TEST_F(ToolTips, ByNameAccess) {
    AssignmentRecorder recorder(toolTips.get());
    EXPECT_TRUE(toolTips->setValueForKey("ttVidBitRateField", QString("a")));
    EXPECT_TRUE(toolTips->setValueForKey("ttVidBitRateField", QVariant()));
    EXPECT_EQ(recorder.order, (QStringList{"ttVidBitRateField", "ttVidBitRateField"}));
    EXPECT_EQ(recorder.texts, (QStringList{"a", ""}));
    EXPECT_FALSE(text("ttVidBitRateField").isNull());

    EXPECT_FALSE(toolTips->setValueForKey("ttNoSuchField", QString("a")));
    EXPECT_FALSE(toolTips->setValueForKey("ttVidBitRateField", 5));
    EXPECT_FALSE(toolTips->valueForKey("ttNoSuchField").isValid());
    EXPECT_FALSE(toolTips->valueForKey("objectName").isValid());
    EXPECT_EQ(toolTips->appPreferences(), preferences);
}

// The check box: the flag reaches the panel dictionary before the texts are
// set, the menu title names the opposite state, and Cancel keeps the switch.
TEST_F(ToolTips, TheSwitchStoresTheFlagFirstAndOutlivesCancel) {
    controller->openPreferencesPanel();
    auto* box = controller->window()->findChild<QCheckBox*>("toolTipsCheckBox");
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(box->isChecked());

    QList<QVariant> flagsSeen;
    QObject::connect(toolTips.get(), &SCToolTips::ttVidBitRateFieldChanged,
                     [&] { flagsSeen.append(panel().value("showToolTipsFlag")); });

    box->click();
    EXPECT_FALSE(controller->showToolTipsFlag());
    EXPECT_EQ(flagsSeen, QList<QVariant>{false});
    EXPECT_EQ(preferences->toolTipsMenuItemTitle(), "Show Tool Tips");
    EXPECT_EQ(text("ttVidBitRateField"), "");
    EXPECT_EQ(box->toolTip(), "");

    box->click();
    EXPECT_EQ(flagsSeen, (QList<QVariant>{false, true}));
    EXPECT_EQ(preferences->toolTipsMenuItemTitle(), "Hide Tool Tips");
    EXPECT_EQ(box->toolTip(), "Turns tool tips on/off.");

    box->click();
    controller->cancelPreferencesButton();
    EXPECT_EQ(panel().value("showToolTipsFlag"), QVariant(false));
    controller->openPreferencesPanel();
    EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(text("ttMSUpdateButton"), "update button off");
}

}  // namespace

#include "ToolTips_test.moc"
