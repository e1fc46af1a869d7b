#include "tools/SCPreferences.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <atomic>
#include <thread>
#include <vector>

#include "tools/InMemoryPreferenceStore.h"
#include "tools/SettingsPreferenceStore.h"

namespace {

const QString kPanel = QStringLiteral("preferencePanelDictionary");
const QString kGui = QStringLiteral("guiSettingsDictionary");

// Remembers the order in which keys were written.
class RecordingStore : public InMemoryPreferenceStore {
  public:
    void setValue(const QString& key, const QVariant& value) override {
        writes.append(key);
        InMemoryPreferenceStore::setValue(key, value);
    }
    QStringList writes;
};

QVariantMap panelDefaults() {
    return SCPreferences().preferencePanelDefaultsDictionary();
}

QVariantMap panelDefaultsWith(const QString& key, const QVariant& value) {
    QVariantMap expected = panelDefaults();
    expected.insert(key, value);
    return expected;
}

struct LoadCase {
    const char* name;
    QVariant storedPanel;  // invalid: nothing stored
    QVariantMap expectedPanel;
};

void PrintTo(const LoadCase& c, std::ostream* out) {
    *out << c.name;
}

class PreferenceLoading : public ::testing::TestWithParam<LoadCase> {};

TEST_P(PreferenceLoading, HoldsExactlyTheDefaultKeys) {
    const LoadCase& c = GetParam();
    auto store = std::make_shared<InMemoryPreferenceStore>();
    store->setValue(kPanel, c.storedPanel);
    SCPreferences preferences(store);
    EXPECT_FALSE(preferences.preferencePanelDictionary().has_value());

    preferences.loadPreferencesFromDefaults();
    ASSERT_TRUE(preferences.preferencePanelDictionary().has_value());
    EXPECT_EQ(*preferences.preferencePanelDictionary(), c.expectedPanel);
    EXPECT_EQ(*preferences.guiSettingsDictionary(),
              (QVariantMap{{"importEncoding", QStringLiteral("UTF8")}}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PreferenceLoading,
    ::testing::Values(
        LoadCase{"NothingStored", QVariant(), panelDefaults()},
        LoadCase{"OneStoredKey", QVariantMap{{"exportEncoding", QStringLiteral("MacRoman")}},
                 panelDefaultsWith("exportEncoding", QStringLiteral("MacRoman"))},
        LoadCase{"StoredFlag", QVariantMap{{"showToolTipsFlag", false}},
                 panelDefaultsWith("showToolTipsFlag", false)},
        LoadCase{
            "ExtraKeyDropped",
            QVariantMap{{"userTesseractLanguage", QStringLiteral("deu")}, {"somethingElse", 3}},
            panelDefaultsWith("userTesseractLanguage", QStringLiteral("deu"))},
        LoadCase{"NotADictionary", QStringLiteral("a text"), panelDefaults()},
        LoadCase{"NumberForAText", QVariantMap{{"importEncoding", 7}}, panelDefaults()},
        LoadCase{"TextForTheFlag", QVariantMap{{"showToolTipsFlag", QStringLiteral("no")}},
                 panelDefaults()},
        LoadCase{"ListForAPath", QVariantMap{{"harnwickPath", QStringList{"/a"}}},
                 panelDefaults()}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PreferenceSaving, WritesThePanelFirstAndDropsUnknownKeys) {
    auto store = std::make_shared<RecordingStore>();
    store->setValue(kPanel, QVariantMap{{"lodestraPath", QStringLiteral("/L")}, {"stale", 1}});
    store->writes.clear();
    SCPreferences preferences(store);
    preferences.loadPreferencesFromDefaults();
    preferences.savePreferencesToDefaults();

    EXPECT_EQ(store->writes, (QStringList{kPanel, kGui}));
    const QVariantMap saved = store->value(kPanel).toMap();
    EXPECT_FALSE(saved.contains("stale"));
    EXPECT_EQ(saved, panelDefaultsWith("lodestraPath", QStringLiteral("/L")));
}

TEST(PreferenceSaving, AbsentDictionariesRemoveTheStoredEntries) {
    auto store = std::make_shared<InMemoryPreferenceStore>();
    store->setValue(kPanel, QVariantMap{{"exportEncoding", QStringLiteral("UTF8")}});
    store->setValue(kGui, QVariantMap{});
    SCPreferences preferences(store);
    preferences.savePreferencesToDefaults();
    EXPECT_FALSE(store->value(kPanel).isValid());
    EXPECT_FALSE(store->value(kGui).isValid());
}

TEST(PreferenceSaving, ChangesInMemoryReachTheStoreOnlyWhenSaved) {
    auto store = std::make_shared<InMemoryPreferenceStore>();
    {
        SCPreferences first(store);
        first.loadPreferencesFromDefaults();
        first.modifyPreferencePanelDictionary(
            [](std::optional<QVariantMap>& panel) { panel->insert("showToolTipsFlag", false); });
        first.savePreferencesToDefaults();
        first.modifyPreferencePanelDictionary(
            [](std::optional<QVariantMap>& panel) { panel->insert("showToolTipsFlag", true); });
    }
    SCPreferences second(store);
    second.loadPreferencesFromDefaults();
    EXPECT_EQ(second.preferencePanelDictionary()->value("showToolTipsFlag"), QVariant(false));
}

TEST(PreferenceSaving, TheSettingsFileKeepsTextsAndFlags) {
    QTemporaryDir scratch;
    const QString file = scratch.filePath("config/Quillmar.conf");
    {
        SCPreferences preferences(std::make_shared<SettingsPreferenceStore>(file));
        preferences.loadPreferencesFromDefaults();
        preferences.modifyPreferencePanelDictionary([](std::optional<QVariantMap>& panel) {
            panel->insert("showToolTipsFlag", false);
            panel->insert("pellimorPath", QStringLiteral("/Apps/Pellimor café"));
        });
        preferences.savePreferencesToDefaults();
    }
    SCPreferences reloaded(std::make_shared<SettingsPreferenceStore>(file));
    reloaded.loadPreferencesFromDefaults();
    QVariantMap expected = panelDefaultsWith("showToolTipsFlag", false);
    expected.insert("pellimorPath", QStringLiteral("/Apps/Pellimor café"));
    EXPECT_EQ(*reloaded.preferencePanelDictionary(), expected);
}

TEST(PreferenceObject, StartsWithTheDocumentedValues) {
    SCPreferences preferences(std::make_shared<InMemoryPreferenceStore>());
    EXPECT_EQ(preferences.tesseractDataFolderName(), "tesseract304");
    EXPECT_FALSE(preferences.borvaneSupportFolderURL().has_value());
    EXPECT_TRUE(preferences.toolsLocationURL().isLocalFile());
    EXPECT_EQ(preferences.toolTipsMenuItemTitle(), "");
}

TEST(PreferenceObject, AnnouncesTitleChanges) {
    SCPreferences preferences(std::make_shared<InMemoryPreferenceStore>());
    QStringList announced;
    QObject::connect(&preferences, &SCPreferences::toolTipsMenuItemTitleChanged,
                     [&](const QString& title) { announced.append(title); });
    preferences.setToolTipsMenuItemTitle("Hide Tool Tips");
    preferences.setToolTipsMenuItemTitle("Hide Tool Tips");
    preferences.setProperty("toolTipsMenuItemTitle", "Show Tool Tips");
    EXPECT_EQ(announced, (QStringList{"Hide Tool Tips", "Show Tool Tips"}));
}

TEST(PreferenceObject, WorkersReadCopiesWhileTheMainThreadWrites) {
    SCPreferences preferences(std::make_shared<InMemoryPreferenceStore>());
    preferences.loadPreferencesFromDefaults();
    preferences.setBorvaneSupportFolderURL(QUrl::fromLocalFile("/support"));
    std::atomic<bool> done{false};
    std::atomic<int> oddReads{0};
    std::vector<std::thread> workers;
    for (int i = 0; i < 4; ++i) {
        workers.emplace_back([&] {
            while (!done) {
                const QString language = preferences.preferencePanelDictionary()
                                             ->value("userTesseractLanguage")
                                             .toString();
                if (language != "eng" && language != "deu") ++oddReads;
                if (preferences.borvaneSupportFolderURL()->isEmpty()) ++oddReads;
            }
        });
    }
    for (int i = 0; i < 2000; ++i) {
        preferences.modifyPreferencePanelDictionary([i](std::optional<QVariantMap>& panel) {
            panel->insert("userTesseractLanguage", i % 2 ? "deu" : "eng");
        });
        preferences.setBorvaneSupportFolderURL(QUrl::fromLocalFile(i % 2 ? "/a" : "/b"));
    }
    done = true;
    for (auto& worker : workers) worker.join();
    EXPECT_EQ(oddReads, 0);
}

}  // namespace
