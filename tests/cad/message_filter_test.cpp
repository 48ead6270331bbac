// The message filter asked as COM asks it: wine never puts a rejected call to it, and a call's
// bound is the filter's clock, not the test's.
#include "cad/com/message_filter.h"

#include <gtest/gtest.h>

namespace {

using cad::com::CallFilter;
using namespace std::chrono_literals;

TEST(CallFilter, RetriesABusyServerForThirtySecondsAndCancelsACallPastItsBound)
{
    CallFilter::Clock::time_point now{};
    int cancelledBeneath = 0;
    auto* filter = new CallFilter([&] { return now; }, [&] { ++cancelledBeneath; });
    const auto pending = [&] { return filter->MessagePending(nullptr, 0, PENDINGTYPE_TOPLEVEL); };
    EXPECT_EQ(filter->HandleInComingCall(CALLTYPE_TOPLEVEL, nullptr, 0, nullptr), SERVERCALL_ISHANDLED);
    EXPECT_EQ(pending(), PENDINGMSG_WAITDEFPROCESS);  // no call of ours waits

    filter->begin(5s);
    now += 4999ms;
    EXPECT_EQ(pending(), PENDINGMSG_WAITDEFPROCESS);
    // Turned away: asked again after the delay, and the next try has its whole bound.
    EXPECT_EQ(filter->RetryRejectedCall(nullptr, 4999, SERVERCALL_REJECTED), 200u);
    now += 5199ms;
    EXPECT_EQ(pending(), PENDINGMSG_WAITDEFPROCESS);
    now += 1ms;
    EXPECT_EQ(pending(), PENDINGMSG_CANCELCALL);
    EXPECT_EQ(cancelledBeneath, 0);
    // Asked once more about the cancelled call, as wine does: the RPC beneath is cancelled too.
    EXPECT_EQ(pending(), PENDINGMSG_CANCELCALL);
    EXPECT_EQ(cancelledBeneath, 1);
    EXPECT_TRUE(filter->end());

    filter->begin(5s);
    EXPECT_EQ(pending(), PENDINGMSG_WAITDEFPROCESS);
    EXPECT_FALSE(filter->end());
    now += 1h;
    EXPECT_EQ(pending(), PENDINGMSG_WAITDEFPROCESS);  // that call has returned

    // Busy for 30 s: -1 gives the call up.
    EXPECT_EQ(filter->RetryRejectedCall(nullptr, 29999, SERVERCALL_RETRYLATER), 200u);
    EXPECT_EQ(filter->RetryRejectedCall(nullptr, 30000, SERVERCALL_RETRYLATER), DWORD(-1));
    EXPECT_EQ(filter->rejections(), 3u);
    filter->Release();
}

}  // namespace
