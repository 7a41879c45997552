#pragma once
// GoogleTest on the product's compiler variant: win32 threads has no std::mutex, of which
// GoogleTest makes its Notification. This is the same class on a Win32 event, through
// GoogleTest's hook for a Notification of one's own (GTEST_HAS_NOTIFICATION_). GoogleTest uses
// it only to start threads in its own tests; ours run on one thread.
namespace testing::internal {

class Notification {
public:
    Notification();
    ~Notification();
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;
    void Notify();
    void WaitForNotification();

private:
    void* event_;
};

}  // namespace testing::internal
