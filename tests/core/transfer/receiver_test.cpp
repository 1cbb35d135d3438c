#include "transfer/receiver.h"

#include <deque>
#include <gtest/gtest.h>
#include <vector>

using namespace zorv::transfer;

namespace {

// Only the first byte is 0x55, so that the rest of an interrupted image cannot start a capture.
std::vector<std::uint8_t> makeImage(std::uint8_t seed = 1)
{
    std::vector<std::uint8_t> image(Receiver::kImageSize);
    image[0] = Receiver::kSyncByte;
    for (std::size_t i = 1; i < image.size(); ++i) {
        image[i] = static_cast<std::uint8_t>(i * 31 + seed);
        if (image[i] == Receiver::kSyncByte)
            image[i] = 0x56;
    }
    return image;
}

// Feeds bytes one per millisecond from `start`; returns the time after the last one.
std::int64_t feed(Receiver &receiver, const std::vector<std::uint8_t> &bytes, std::int64_t start)
{
    std::int64_t t = start;
    for (std::uint8_t b : bytes)
        receiver.receive(b, t++);
    return t;
}

std::vector<std::uint8_t> imageOf(const Receiver &receiver)
{
    return { receiver.image().begin(), receiver.image().end() };
}

class FakeLink : public SerialLink {
public:
    void open(int) override { }
    void setLine(const LineSettings &) override { }
    std::uint16_t status() const override { return statusWord; }
    bool pending() override { return !bytes.empty(); }
    std::uint8_t readByte() override
    {
        const std::uint8_t b = bytes.front();
        bytes.pop_front();
        return b;
    }

    std::deque<std::uint8_t> bytes;
    std::uint16_t statusWord = 0;
};

} // namespace

TEST(ReceiverSync, NoiseBeforeTheSyncByteIsIgnoredAndOnlyZeroConnects)
{
    Receiver receiver;
    std::int64_t t = feed(receiver, { 0x12, 0xff, 0x54 }, 0);
    EXPECT_EQ(receiver.state(), Receiver::State::Waiting);

    t = feed(receiver, { 0x00, 0x00 }, t);
    EXPECT_EQ(receiver.state(), Receiver::State::Connected);
    EXPECT_EQ(receiver.bytesStored(), 0);

    const auto image = makeImage();
    t = feed(receiver, image, t);
    EXPECT_EQ(receiver.state(), Receiver::State::Running);
    feed(receiver, { 0xaa, 0xbb }, t);
    ASSERT_TRUE(receiver.done());
    EXPECT_EQ(imageOf(receiver), image);
}

TEST(ReceiverFinish, TheByteAfter2051CountedEndsTheCaptureAndIsDropped)
{
    Receiver receiver;
    auto bytes = makeImage();
    bytes.push_back(0x01); // 2051st counted byte: stored, never part of the image
    std::int64_t t = feed(receiver, bytes, 0);
    EXPECT_EQ(receiver.bytesCounted(), 2051);
    EXPECT_FALSE(receiver.done());
    EXPECT_EQ(receiver.progress(), 2051);

    receiver.receive(0x02, t);
    ASSERT_TRUE(receiver.done());
    EXPECT_EQ(receiver.bytesCounted(), 2051);
    bytes.pop_back();
    EXPECT_EQ(imageOf(receiver), bytes);
}

TEST(ReceiverFinish, WholeImageFollowedBySilenceIsKept)
{
    Receiver receiver;
    const auto image = makeImage();
    std::int64_t t = feed(receiver, { image.begin(), image.end() - 1 }, 0);
    receiver.tick(t + 500);
    EXPECT_TRUE(receiver.running()); // one byte short is no image

    t = feed(receiver, { image.back() }, t + 500);
    receiver.tick(t + Receiver::kConnectionTimeoutMs / 2);
    EXPECT_TRUE(receiver.running());
    receiver.tick(t + Receiver::kConnectionTimeoutMs);
    ASSERT_TRUE(receiver.done());
    EXPECT_EQ(imageOf(receiver), image);
}

TEST(ReceiverSilence, TwoSecondsKeepGoingMoreAbortsTheNextSyncRestartsAndDoneIsFinal)
{
    Receiver receiver;
    const auto image = makeImage();
    const std::vector<std::uint8_t> head(image.begin(), image.begin() + 1000);
    const std::vector<std::uint8_t> tail(image.begin() + 1000, image.end());

    std::int64_t t = feed(receiver, head, 0);
    const std::int64_t last = t - 1;
    receiver.tick(last + Receiver::kGapLimitMs);
    EXPECT_TRUE(receiver.running());
    EXPECT_EQ(receiver.bytesStored(), 1000);

    receiver.tick(last + Receiver::kGapLimitMs + 1);
    EXPECT_FALSE(receiver.running());
    EXPECT_TRUE(receiver.transmissionFailed());
    EXPECT_EQ(receiver.bytesStored(), 0);
    EXPECT_EQ(receiver.bytesCounted(), 0);
    EXPECT_EQ(receiver.state(), Receiver::State::Waiting);

    // The rest of the interrupted image carries no 0x55: it must not start anything.
    t = feed(receiver, tail, last + 3000);
    EXPECT_FALSE(receiver.running());

    const auto second = makeImage(7);
    t = feed(receiver, second, t);
    EXPECT_FALSE(receiver.transmissionFailed());
    receiver.tick(t + Receiver::kConnectionTimeoutMs);
    ASSERT_TRUE(receiver.done());
    EXPECT_EQ(imageOf(receiver), second);

    // Once done, there is no second capture.
    t = feed(receiver, makeImage(9), t + 300);
    feed(receiver, { 0, 0, 0 }, t);
    receiver.tick(t + 5000);
    EXPECT_TRUE(receiver.done());
    EXPECT_EQ(imageOf(receiver), second);

    // A dump file taken instead counts as the capture.
    const auto dump = makeImage(3);
    receiver.useImage(dump);
    feed(receiver, makeImage(), t + 6000);
    EXPECT_EQ(imageOf(receiver), dump);
}

TEST(ReceiverTicks, ConnectionFallsAfterQuietUnlessCapturing)
{
    Receiver receiver;
    receiver.receive(0, 1000);
    receiver.tick(1000 + Receiver::kConnectionTimeoutMs - 1);
    EXPECT_TRUE(receiver.connected());
    receiver.tick(1000 + Receiver::kConnectionTimeoutMs);
    EXPECT_FALSE(receiver.connected());

    // A sync byte without zeros first connects too, and while capturing only the two-second silence counts.
    receiver.receive(Receiver::kSyncByte, 2000);
    receiver.tick(3500);
    EXPECT_TRUE(receiver.connected());
    EXPECT_TRUE(receiver.running());
}

TEST(ReceiverTicks, BlinksOnlyWhileNotConnected)
{
    Receiver receiver(0);
    receiver.tick(499);
    EXPECT_FALSE(receiver.blink());
    receiver.tick(500);
    EXPECT_TRUE(receiver.blink());
    receiver.tick(1000);
    EXPECT_FALSE(receiver.blink());

    receiver.receive(0, 1400);
    receiver.tick(1450);
    receiver.receive(0, 1490);
    receiver.tick(1550);
    EXPECT_FALSE(receiver.blink());
}

TEST(ReceiverLink, PollDrainsTheLinkAndKeepsItsStatus)
{
    FakeLink link;
    Receiver receiver;
    link.bytes = { 0, 0 };
    const auto image = makeImage();
    link.bytes.insert(link.bytes.end(), image.begin(), image.end());
    link.bytes.insert(link.bytes.end(), { 1, 2, 3, 4 });
    link.statusWord = linkstatus::kReadFailed;
    receiver.poll(link, 10);
    ASSERT_TRUE(receiver.done());
    EXPECT_EQ(imageOf(receiver), image);
    EXPECT_TRUE(receiver.portError());
    EXPECT_EQ(link.bytes.size(), 2U); // nothing read after the finish
}
