#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "DocumentFixtures.h"
#include "common/HelperFunctions.h"
#include "document/LinePicture.h"
#include "formatting/SCStyle.h"
#include "support/ScopedOverride.h"

using namespace documenttest;

namespace {

// Stands in for the picture importer: every line is converted on a worker
// thread of its own, and the workers hand their results to the main queue in
// the order given, as real conversions finishing at different times would.
// On the main thread each result becomes a line announced to the document.
class FakeImporter : public ImageSubImporter {
  public:
    FakeImporter(std::vector<int> deliveryOrder, std::set<int> cropErrors, resultTypes result)
        : order_(std::move(deliveryOrder)), cropErrors_(std::move(cropErrors)), result_(result) {}

    void setParentSubtitle(const std::weak_ptr<SCSubtitle>& subtitle) override {
        parent_ = subtitle;
    }
    void cancelImport() override {}

    resultTypes importImageSubtitleURL(const QUrl&) override {
        if (result_ == resultTypes::error) return result_;
        std::mutex m;
        std::condition_variable turn;
        std::size_t next = 0;
        std::vector<std::thread> workers;
        for (std::size_t slot = 0; slot < order_.size(); ++slot) {
            workers.emplace_back([&, slot] {
                std::unique_lock lock(m);
                turn.wait(lock, [&] { return next == slot; });
                deliver(order_[slot]);
                ++next;
                turn.notify_all();
            });
        }
        for (auto& w : workers) w.join();
        return result_;
    }

  private:
    void deliver(int number) {
        const QString text =
            cropErrors_.count(number) ? "CROP ERROR" : QString("line %1").arg(number);
        auto parent = parent_;
        doOnMainThread([parent, number, text] {
            if (auto subtitle = parent.lock())
                announceImportedLine(*subtitle, number, number * 2.0, number * 2.0 + 1.5, text,
                                     QImage(4, 4, QImage::Format_RGB32));
        });
    }

    std::vector<int> order_;
    std::set<int> cropErrors_;
    resultTypes result_;
    std::weak_ptr<SCSubtitle> parent_;
};

resultTypes runIntake(const std::shared_ptr<SCSubtitle>& subtitle, std::vector<int> order,
                      std::set<int> cropErrors = {}, resultTypes importResult = resultTypes::ok) {
    testsupport::ScopedOverride<ImageSubImporter::Factory> factory(
        &SCSubtitle::setImageSubImporterFactory,
        [=] { return std::make_shared<FakeImporter>(order, cropErrors, importResult); });
    auto result = std::async(std::launch::async, [subtitle] {
        return subtitle->initializeFromImageSubURL(QUrl::fromLocalFile("/nowhere/movie.idx"));
    });
    testsupport::spinUntil(
        [&] { return result.wait_for(std::chrono::seconds(0)) == std::future_status::ready; });
    const resultTypes outcome = result.get();
    testsupport::spinUntil([&] { return !subtitle->imageSubImporter(); });
    testsupport::drainMainQueue();
    return outcome;
}

QList<qint64> numbersOf(const SCSubtitleLineList& lines) {
    QList<qint64> numbers;
    for (const auto& line : lines) numbers.append(line->userIndex());
    return numbers;
}

}  // namespace

TEST(SCSubtitleImageIntake, EveryDeliveredLineArrivesInNumberOrder) {
    struct Case {
        const char* name;
        std::vector<int> order;
        std::set<int> cropErrors;
        QList<qint64> expected;
    };
    const Case cases[] = {
        {"in order", {0, 1, 2}, {}, {0, 1, 2}},
        {"one early", {0, 3, 1, 2}, {}, {0, 1, 2, 3}},
        {"the last line first", {3, 0, 1, 2}, {}, {0, 1, 2, 3}},
        {"reversed", {4, 3, 2, 1, 0}, {}, {0, 1, 2, 3, 4}},
        {"waiting lines found by number", {0, 1, 2, 5, 4, 3}, {}, {0, 1, 2, 3, 4, 5}},
        {"a dropped number does not hold up the rest", {0, 2, 1, 3}, {1}, {0, 2, 3}},
        {"the first number dropped", {1, 2, 0}, {0}, {1, 2}},
        {"the last number dropped late", {0, 1, 3, 2}, {3}, {0, 1, 2}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto subtitle = SCSubtitle::create();
        EXPECT_EQ(runIntake(subtitle, c.order, c.cropErrors), resultTypes::ok);
        EXPECT_EQ(numbersOf(subtitle->subtitleLinesArray()), c.expected);
        EXPECT_TRUE(subtitle->outOfOrderImageSubLines().isEmpty());
        EXPECT_TRUE(subtitle->isImageBased());
        EXPECT_EQ(subtitle->subtitleStylesArray().size(), 1);
        EXPECT_FALSE(subtitle->isInitializing());
        EXPECT_EQ(subtitle->progressLabel(), "");
        EXPECT_FALSE(subtitle->subtitleIsValid());
    }
}

TEST(SCSubtitleImageIntake, AFailedImportStillEndsTheIntake) {
    auto subtitle = SCSubtitle::create();
    EXPECT_EQ(runIntake(subtitle, {0, 1}, {}, resultTypes::error), resultTypes::error);
    EXPECT_TRUE(subtitle->subtitleLinesArray().isEmpty());
    EXPECT_FALSE(subtitle->isInitializing());
    EXPECT_EQ(subtitle->progressLabel(), "");
    EXPECT_FALSE(subtitle->imageSubImporter());
}

TEST(SCSubtitleImageIntake, LinesForAnotherDocumentAndLinesAfterTheEndAreIgnored) {
    auto subtitle = SCSubtitle::create();
    auto other = SCSubtitle::create();
    auto line = SCSubtitleLine::create();
    line->setUserIndex(0);
    line->initializeFromImageSubImportedDictiary(
        {{"startTime", 1.0}, {"endTime", 2.0}, {"lineImage", QImage()}, {"lineDialog", "hi"}});
    auto announce = [&](SCSubtitle* owner) {
        platform::NotificationCenter::defaultCenter().post(
            "imageSubSCSubtitleLineCreated", nullptr,
            {{"theSubtitleLine", QVariant::fromValue(line)},
             {"theSubtitle", QVariant::fromValue<QObject*>(owner)}});
    };
    announce(other.get());
    EXPECT_TRUE(subtitle->subtitleLinesArray().isEmpty());
    EXPECT_EQ(other->subtitleLinesArray().size(), 1);

    // After an intake has ended, the document no longer takes lines.
    runIntake(subtitle, {0});
    ASSERT_EQ(subtitle->subtitleLinesArray().size(), 1);
    announce(subtitle.get());
    EXPECT_EQ(subtitle->subtitleLinesArray().size(), 1);
}

TEST(SCSubtitleImageIntake, AnEncodedPictureIsKeptEncodedAndDecodedWhenAskedFor) {
    QImage picture(8, 2, QImage::Format_RGB32);
    picture.fill(Qt::yellow);
    QByteArray png;
    QBuffer buffer(&png);
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly));
    ASSERT_TRUE(picture.save(&buffer, "PNG"));
    const auto encoded = LinePicture::fromEncoded(png);
    ASSERT_TRUE(encoded.has_value());
    EXPECT_FALSE(LinePicture::fromEncoded("not a picture").has_value());

    auto line = SCSubtitleLine::create();
    line->initializeFromImageSubImportedDictiary({{"startTime", 1.0},
                                                  {"endTime", 2.0},
                                                  {"lineImage", QVariant::fromValue(*encoded)},
                                                  {"lineDialog", "hi"}});
    EXPECT_EQ(line->dialogPicture().encoded(), png);
    EXPECT_EQ(line->dialogImage().convertToFormat(QImage::Format_RGB32), picture);
    EXPECT_EQ(line->copy()->dialogImage().size(), picture.size());
    // A picture set as such replaces the encoded one.
    line->setDialogImage(QImage(3, 3, QImage::Format_RGB32));
    EXPECT_TRUE(line->dialogPicture().isNull());
    EXPECT_EQ(line->dialogImage().size(), QSize(3, 3));
}

TEST(SCSubtitleImageIntake, ALineIsFilledFromItsResult) {
    const QImage picture(8, 2, QImage::Format_RGB32);
    for (const QString& text : {QString("word"), QString()}) {
        auto line = SCSubtitleLine::create();
        EXPECT_EQ(line->initializeFromImageSubImportedDictiary({{"startTime", 3.5},
                                                                {"endTime", 5.25},
                                                                {"lineImage", picture},
                                                                {"lineDialog", text},
                                                                {"status", "draft"}}),
                  resultTypes::ok);
        EXPECT_EQ(line->userStartTimeDouble(), 3.5);
        EXPECT_EQ(line->userEndTimeDouble(), 5.25);
        EXPECT_EQ(line->inputSubType(), subtitleTypes::srt);
        EXPECT_EQ(line->dialogImage().size(), picture.size());
        EXPECT_EQ(line->unformattedTextSRT(), text);
        EXPECT_GT(line->textTableRowHeight(), 0);
        EXPECT_EQ(line->originalsDictionary().value("userStartTimeDouble").toDouble(), 3.5);
        EXPECT_EQ(line->originalsDictionary().value("userEndTimeDouble").toDouble(), 5.25);
        EXPECT_EQ(line->originalsDictionary().value("Style").toString(), "Default");
    }
}
