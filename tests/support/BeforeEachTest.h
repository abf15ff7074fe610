#pragma once
#include <gtest/gtest.h>

// Runs a function before every test of the binary, ahead of its fixture.
// CTest gives each test a process of its own, but a binary run whole runs
// its tests one after another in one process: what a test leaves in the
// engine's singletons must not reach the next. One object of this kind at
// namespace scope in one file of a binary registers it.
class BeforeEachTest {
public:
    explicit BeforeEachTest(void (*prepare)())
    {
        ::testing::UnitTest::GetInstance()->listeners().Append(new Listener(prepare));
    }

private:
    class Listener : public ::testing::EmptyTestEventListener {
    public:
        explicit Listener(void (*prepare)()) : mPrepare(prepare) {}
        void OnTestStart(const ::testing::TestInfo&) override { mPrepare(); }

    private:
        void (*mPrepare)();
    };
};
