#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QThread>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <limits>
#include <mutex>

#include "editor/EditorFixture.h"
#include "editor/RetiredQueues.h"
#include "editor/SheetAlert.h"
#include "editor/SubtitleReads.h"

namespace editortest {

// Counts the document reads, notes their names and thread, and can hold
// them: from the read numbered `holdFrom` on (counting from 1), each waits
// until the test lets reads go.
class CountingReads : public SubtitleReads {
  public:
    resultTypes initializeFromTextSubURL(SCSubtitle& s, const QUrl& url,
                                         const QString& encoding) override {
        note(encoding, texts);
        return SubtitleReads::initializeFromTextSubURL(s, url, encoding);
    }
    resultTypes reinitializeForNewEncoding(SCSubtitle& s, const QString& encoding) override {
        note(encoding, rereads);
        return SubtitleReads::reinitializeForNewEncoding(s, encoding);
    }
    resultTypes initializeFromImageSubURL(SCSubtitle& s, const QUrl& url) override {
        note(QString(), pictures);
        return SubtitleReads::initializeFromImageSubURL(s, url);
    }

    int total() const { return texts + rereads + pictures; }
    QStringList names() const {
        std::lock_guard lock(mutex);
        return tried;
    }

    std::atomic<int> texts{0}, rereads{0}, pictures{0};
    std::atomic<bool> onMainThread{false};
    std::atomic<int> holdFrom{std::numeric_limits<int>::max()};

    // Lets every held read, and every later one, go on.
    void release() {
        {
            std::lock_guard lock(mutex);
            released = true;
        }
        gate.notify_all();
    }
    // Whether a held read gave up waiting: only a read that blocks whatever
    // the test does waits that long.
    std::atomic<bool> gaveUp{false};

  private:
    void note(const QString& name, std::atomic<int>& counter) {
        if (QThread::currentThread() == qApp->thread()) onMainThread = true;
        {
            std::lock_guard lock(mutex);
            tried.append(name);
        }
        ++counter;
        if (total() < holdFrom) return;
        std::unique_lock lock(mutex);
        if (!gate.wait_for(lock, std::chrono::milliseconds(testsupport::kHangMs),
                           [this] { return released; }))
            gaveUp = true;
    }
    mutable std::mutex mutex;
    std::condition_variable gate;
    bool released = false;
    QStringList tried;
};

class OpeningTest : public EditorTest {
  protected:
    void SetUp() override {
        EditorTest::SetUp();
        SheetAlert::setQuestionTimeout(10.0);
        reads = std::make_shared<CountingReads>();
    }
    void TearDown() override {
        SheetAlert::setQuestionTimeout(10.0);
        EditorTest::TearDown();
    }

    static QUrl editorFixture(const QString& name) {
        return QUrl::fromLocalFile(QStringLiteral(QUILLMAR_FIXTURES "/editor/") + name);
    }

    template <typename View = SCViewControllerSRT>
    std::unique_ptr<View> openedView(const QUrl& url, subtitleTypes type) {
        auto view = makeView<View>();
        view->setSubtitleReads(reads);
        view->viewSubtitle()->setSubtitleFileType(type);
        host.show(view->view());
        view->openSubtitleURL(url);
        settle(*view);
        return view;
    }

    // Until the view's queue is idle and the main queue has run dry, and
    // stays so: what the main queue runs may queue another operation.
    static void settle(SCMainViewController& view) {
        do {
            testsupport::spinUntil(
                [&] { return view.viewControllerQueue().operationCount() == 0; });
            testsupport::drainMainQueue(0);
        } while (view.viewControllerQueue().operationCount() > 0);
    }

    QMessageBox* sheet() const { return host.window()->findChild<QMessageBox*>(); }

    // Clicks the sheet's button of that title and lets its answer run.
    void answer(const QString& title) {
        QMessageBox* box = sheet();
        ASSERT_NE(box, nullptr);
        for (QAbstractButton* button : box->buttons())
            if (button->text() == title) button->click();
        testsupport::drainMainQueue(0);
    }

    std::shared_ptr<CountingReads> reads;
};

}  // namespace editortest
