#include "media/Buffer.h"

#include "support/TaskState.h"
#include "support/WaitUntil.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <sys/types.h>
#include <thread>
#include <unistd.h>

namespace {

// Shows the fields a change-watching reader looks at.
class ProbeBuffer : public CBuffer {
public:
    using CBuffer::changeCount_;
    using CBuffer::consumerCount_;
    using CBuffer::data_;
};

}  // namespace

TEST(BufferName, CopiesWithATerminatorAndCutsWhenTooLong)
{
    CBuffer buffer;
    char text[16];
    EXPECT_FALSE(buffer.GetName(text, sizeof text));
    ASSERT_TRUE(buffer.Create("Background", 4));
    ASSERT_TRUE(buffer.GetName(text, sizeof text));
    EXPECT_STREQ(text, "Background");

    std::memset(text, 'x', sizeof text);
    ASSERT_TRUE(buffer.GetName(text, 10));  // the name fills all ten bytes
    EXPECT_STREQ(text, "Backgroun");
    EXPECT_EQ(text[10], 'x');
    EXPECT_FALSE(buffer.GetName(text, 0));
    buffer.Close();
}

TEST(BufferName, CutNeverSplitsACharacter)
{
    CBuffer buffer;
    buffer.SetName("ab\xc3\xa9");  // "abé": the last character takes two bytes
    char text[4];
    ASSERT_TRUE(buffer.GetName(text, sizeof text));
    EXPECT_STREQ(text, "ab");
    buffer.SetName(nullptr);
    EXPECT_FALSE(buffer.GetName(text, sizeof text));
    buffer.Close();
}

TEST(BufferData, EveryReplacementCountsAndNullEmpties)
{
    ProbeBuffer buffer;
    const char bytes[] = "0123456789";
    ASSERT_TRUE(buffer.SetData(bytes, 10));
    EXPECT_EQ(buffer.GetDataSize(), 10u);
    const BYTE* block = buffer.data_;
    ASSERT_TRUE(buffer.SetData("abc", 3));
    EXPECT_EQ(buffer.data_, block);  // a shorter block reuses the longer one
    void* data = nullptr;
    DWORD size = 0;
    EXPECT_TRUE(buffer.GetData(&data, &size));
    EXPECT_EQ(size, 3u);
    EXPECT_EQ(std::memcmp(data, "abc", 3), 0);
    EXPECT_TRUE(buffer.GetData(nullptr, nullptr));
    ASSERT_TRUE(buffer.SetData(nullptr, 0));
    EXPECT_EQ(buffer.GetDataSize(), 0u);
    EXPECT_EQ(buffer.data_, nullptr);
    EXPECT_EQ(buffer.changeCount_, 3);
    buffer.Close();
}

TEST(BufferEvents, TwoKeysOnOneSlotGiveTheFirstItsEventOnly)
{
    CBuffer buffer;
    ASSERT_TRUE(buffer.Create("One", 1));
    int first = 0;
    int second = 0;
    HANDLE event = buffer.GetEvent(&first);
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(buffer.GetEvent(&second), nullptr);
    EXPECT_EQ(buffer.GetEvent(&first), event);
    buffer.Close();
}

TEST(BufferEvents, NoSlotsGiveNoEventAndSignalReportsIt)
{
    CBuffer buffer;
    int key = 0;
    EXPECT_EQ(buffer.GetEvent(&key), nullptr);
    EXPECT_FALSE(buffer.SignalAll());
    ASSERT_TRUE(buffer.Create("None", 0));
    EXPECT_EQ(buffer.GetEvent(&key), nullptr);
    EXPECT_FALSE(buffer.SignalAll());
    buffer.Close();
}

TEST(BufferEvents, EachChangeWakesEveryConsumerOnce)
{
    CBuffer buffer;
    ASSERT_TRUE(buffer.Create("Video", 4));
    int a = 0;
    int b = 0;
    HANDLE eventA = buffer.GetEvent(&a);
    HANDLE eventB = buffer.GetEvent(&b);
    ASSERT_NE(eventA, eventB);
    ASSERT_TRUE(buffer.SetData("x", 1));
    ASSERT_TRUE(buffer.SetData("y", 1));
    EXPECT_EQ(WaitForSingleObject(eventA, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(eventA, 0), WAIT_TIMEOUT);
    EXPECT_EQ(WaitForSingleObject(eventB, 0), WAIT_OBJECT_0);
    EXPECT_TRUE(buffer.SignalAll());
    EXPECT_EQ(WaitForSingleObject(eventB, 0), WAIT_OBJECT_0);
    buffer.Close();
}

TEST(BufferEvents, SecondCreateWakesAndReleasesTheOldSlots)
{
    ProbeBuffer buffer;
    ASSERT_TRUE(buffer.Create("Video", 1));
    int key = 0;
    HANDLE first = buffer.GetEvent(&key);
    ASSERT_NE(first, nullptr);
    DWORD woke = WAIT_FAILED;
    std::atomic<pid_t> consumerThread{0};
    std::thread consumer([&] {
        consumerThread = gettid();
        woke = WaitForSingleObject(first, 10000);
    });
    // Once the consumer waits, asleep, the event is closed under it, which a wait survives.
    EXPECT_TRUE(testmedia::WaitUntil([&] {
        const pid_t thread = consumerThread;
        return thread != 0 &&
               testmedia::TaskState("/proc/self/task/" + std::to_string(thread) + "/stat") == 'S';
    }));
    ASSERT_TRUE(buffer.Create("Video", 3));
    consumer.join();
    EXPECT_EQ(woke, WAIT_OBJECT_0);
    EXPECT_EQ(buffer.consumerCount_, 3u);
    int a = 0;
    int b = 0;
    EXPECT_NE(buffer.GetEvent(&a), nullptr);
    EXPECT_NE(buffer.GetEvent(&b), nullptr);
    EXPECT_NE(buffer.GetEvent(&key), nullptr);
    buffer.Close();
}

TEST(BufferClose, WithoutCreateSucceeds)
{
    ProbeBuffer buffer;
    EXPECT_TRUE(buffer.Close());
    EXPECT_EQ(buffer.changeCount_, 1);
}

TEST(BufferClose, EmptiesEverythingButTheCount)
{
    ProbeBuffer buffer;
    ASSERT_TRUE(buffer.Create("FaceImage", 2));
    int key = 0;
    ASSERT_NE(buffer.GetEvent(&key), nullptr);
    ASSERT_TRUE(buffer.SetData("abc", 3));
    EXPECT_TRUE(buffer.Close());
    char name[8];
    EXPECT_FALSE(buffer.GetName(name, sizeof name));
    EXPECT_EQ(buffer.GetDataSize(), 0u);
    EXPECT_EQ(buffer.consumerCount_, 0u);
    EXPECT_EQ(buffer.GetEvent(&key), nullptr);
    EXPECT_EQ(buffer.changeCount_, 2);
    ASSERT_TRUE(buffer.SetData("a", 1));  // usable again, still without slots
    EXPECT_FALSE(buffer.SignalAll());
    buffer.Close();
}

TEST(BufferLock, NestsAroundOperationsOfTheSameThread)
{
    ProbeBuffer buffer;
    buffer.Lock();
    EXPECT_TRUE(buffer.SetData("ab", 2));
    buffer.Lock();
    EXPECT_EQ(buffer.GetDataSize(), 2u);
    buffer.Unlock();
    buffer.Unlock();
    long seen = 0;
    std::thread other([&] {
        buffer.Lock();
        seen = buffer.changeCount_;
        buffer.Unlock();
    });
    other.join();
    EXPECT_EQ(seen, 1);
    buffer.Close();
}
