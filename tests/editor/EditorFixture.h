#pragma once

#include <gtest/gtest.h>

#include <QPointer>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QWidget>
#include <memory>

#include "document/DocumentFixtures.h"
#include "editor/EditorValueTransformers.h"
#include "editor/SCViewControllerASS.h"
#include "editor/SCViewControllerSRT.h"
#include "editor/SystemBeep.h"
#include "editor/ViewWindowController.h"
#include "tools/ApplicationContext.h"
#include "tools/InMemoryPreferenceStore.h"
#include "tools/SCPreferences.h"

namespace editortest {

// A plain document window: the views' sheets go on it.
class HostWindow : public ViewWindowController {
  public:
    HostWindow() : window_(new QWidget) {
        window_->resize(1100, 800);
        new QVBoxLayout(window_);
    }
    ~HostWindow() override { delete window_.data(); }
    QWidget* window() const override { return window_; }
    // Puts the view into the window and shows it.
    void show(QWidget* view) {
        window_->layout()->addWidget(view);
        window_->show();
    }

  private:
    QPointer<QWidget> window_;
};

// Preferences in memory, the transformers registered, beeps counted.
class EditorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        preferences = std::make_shared<SCPreferences>(std::make_shared<InMemoryPreferenceStore>());
        preferences->loadPreferencesFromDefaults();
        ApplicationContext::setAppPreferences(preferences);
        registerEditorValueTransformers();
        SystemBeep::setBeeper([this] { ++beeps; });
    }
    void TearDown() override {
        SystemBeep::setBeeper({});
        ApplicationContext::setAppPreferences(nullptr);
    }

    void setPreference(const QString& key, const QVariant& value) {
        preferences->modifyPreferencePanelDictionary(
            [&](std::optional<QVariantMap>& panel) { panel->insert(key, value); });
    }

    template <typename View>
    std::unique_ptr<View> makeView(std::shared_ptr<SCSubtitle> subtitle = nullptr) {
        auto view = std::make_unique<View>();
        view->setViewWindowController(&host);
        view->setViewSubtitle(subtitle ? subtitle : SCSubtitle::create());
        return view;
    }

    // A loaded document in a shown view.
    template <typename View>
    std::unique_ptr<View> shownView(const QString& fixture, subtitleTypes type) {
        auto view = makeView<View>(documenttest::loaded(fixture, type));
        host.show(view->view());
        testsupport::drainMainQueue();
        return view;
    }

    static void selectRows(SCMainViewController& view, const QList<int>& rows) {
        auto* selection = view.subtitleTable()->selectionModel();
        selection->clearSelection();
        for (int row : rows)
            selection->select(view.subtitleTableController()->index(row, 0),
                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

    std::shared_ptr<SCPreferences> preferences;
    HostWindow host;
    int beeps = 0;
};

}  // namespace editortest
