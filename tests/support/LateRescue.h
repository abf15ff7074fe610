#pragma once
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

// Runs the action on a thread of its own once the delay has passed, unless
// the object goes first. It lets a call that wrongly waits for input go (by
// closing or feeding what it waits on), so that its test fails instead of
// hanging.
class LateRescue {
public:
    LateRescue(std::chrono::milliseconds delay, std::function<void()> action)
        : mThread([this, delay, action = std::move(action)] {
              std::unique_lock lock(mMutex);
              if (!mGone.wait_for(lock, delay, [this] { return mCancelled; }))
                  action();
          })
    {
    }
    ~LateRescue()
    {
        {
            std::lock_guard lock(mMutex);
            mCancelled = true;
        }
        mGone.notify_all();
        mThread.join();
    }
    LateRescue(const LateRescue&) = delete;
    LateRescue& operator=(const LateRescue&) = delete;

private:
    std::mutex mMutex;
    std::condition_variable mGone;
    bool mCancelled = false;
    // Last: it starts once the rest is built.
    std::thread mThread;
};
