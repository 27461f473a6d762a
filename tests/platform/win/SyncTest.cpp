#include "platform/win/Sync.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <ctime>
#include <thread>
#include <vector>

TEST(CriticalSection, NestedEntriesStillExcludeOtherThreads)
{
    CRITICAL_SECTION section;
    InitializeCriticalSection(&section);
    long counter = 0;  // plain on purpose: only the section keeps the increments whole
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 2000; ++i) {
                EnterCriticalSection(&section);
                EnterCriticalSection(&section);
                ++counter;
                LeaveCriticalSection(&section);
                ++counter;
                LeaveCriticalSection(&section);
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(counter, 4 * 2000 * 2);
    DeleteCriticalSection(&section);
}

TEST(Event, AutoResetWakesOneWaitThenIsClearAgain)
{
    HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
    EXPECT_TRUE(SetEvent(event));
    EXPECT_TRUE(SetEvent(event));
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
    EXPECT_TRUE(CloseHandle(event));
}

TEST(Event, ManualResetStaysSignalledUntilReset)
{
    HANDLE event = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(event, INFINITE), WAIT_OBJECT_0);
    EXPECT_TRUE(ResetEvent(event));
    EXPECT_EQ(WaitForSingleObject(event, 1), WAIT_TIMEOUT);
    CloseHandle(event);
}

TEST(Event, SetFromAnotherThreadEndsAnInfiniteWait)
{
    HANDLE ready = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HANDLE done = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    DWORD result = WAIT_FAILED;
    std::thread waiter([&] {
        SetEvent(ready);
        result = WaitForSingleObject(done, INFINITE);
    });
    ASSERT_EQ(WaitForSingleObject(ready, INFINITE), WAIT_OBJECT_0);
    SetEvent(done);
    waiter.join();
    EXPECT_EQ(result, WAIT_OBJECT_0);
    CloseHandle(ready);
    CloseHandle(done);
}

TEST(Event, NamedEventsAreRefused)
{
    EXPECT_EQ(CreateEventA(nullptr, FALSE, FALSE, "Shared"), nullptr);
}

namespace {

// Stands for a kind of handle made elsewhere (a file): closed by the same CloseHandle,
// never waited for.
class CountedObject : public KernelObject {
public:
    explicit CountedObject(int& destroyed) : destroyed_(destroyed) {}
    ~CountedObject() override { ++destroyed_; }

private:
    int& destroyed_;
};

}  // namespace

TEST(Handle, CloseHandleDestroysAnyKindOfObject)
{
    int destroyed = 0;
    HANDLE object = new CountedObject(destroyed);
    EXPECT_EQ(WaitForSingleObject(object, 0), WAIT_FAILED);
    EXPECT_FALSE(SetEvent(object));
    EXPECT_TRUE(CloseHandle(object));
    EXPECT_EQ(destroyed, 1);
    EXPECT_FALSE(CloseHandle(nullptr));
    EXPECT_EQ(WaitForSingleObject(nullptr, 0), WAIT_FAILED);
}

TEST(LocalTime, FieldsComeInThePlatformOrderAndRange)
{
    static_assert(sizeof(SYSTEMTIME) == 16);
    static_assert(offsetof(SYSTEMTIME, wDayOfWeek) == 4);
    static_assert(offsetof(SYSTEMTIME, wMilliseconds) == 14);
    const std::time_t before = std::time(nullptr);
    SYSTEMTIME now{};
    GetLocalTime(&now);
    std::tm local{};
    localtime_r(&before, &local);
    EXPECT_GE(now.wYear, local.tm_year + 1900);
    EXPECT_GE(now.wMonth, 1);
    EXPECT_LE(now.wMonth, 12);
    EXPECT_GE(now.wDay, 1);
    EXPECT_LE(now.wDay, 31);
    EXPECT_LE(now.wDayOfWeek, 6);
    EXPECT_LE(now.wHour, 23);
    EXPECT_LE(now.wMinute, 59);
    EXPECT_LE(now.wSecond, 59);
    EXPECT_LE(now.wMilliseconds, 999);
}

TEST(CompareText, IgnoresAsciiCaseAndOrdersByByte)
{
    EXPECT_EQ(lstrcmpiA("Background", "bACKGROUND"), 0);
    EXPECT_LT(lstrcmpiA("abc", "ABD"), 0);
    EXPECT_GT(lstrcmpiA("abcd", "ABC"), 0);
    EXPECT_LT(lstrcmpiA("", "a"), 0);
    EXPECT_EQ(lstrcmpiA(nullptr, ""), 0);
    EXPECT_GT(lstrcmpiA("\xc3\xa9", "z"), 0);         // bytes above ASCII sort after it
    EXPECT_NE(lstrcmpiA("\xc3\xa9", "\xc3\x89"), 0);  // only ASCII letters fold
}
