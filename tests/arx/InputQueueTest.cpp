// The input queue across threads: feeds post from their own threads, the main thread waits for them.
#include <atomic>
#include <chrono>
#include <thread>

#include "HostFixture.h"
#include "qplatform/Script.h"

namespace {

using qhost::InputEvent;
using qhost::InputQueue;
using FedQueue = HostTest;

TEST_F(FedQueue, AWaitSleepsUntilAFeedPostsAndEndsWhenTheLastFeedCloses) {
  auto& queue = InputQueue::Instance();
  queue.OpenFeed();
  std::thread feed([&queue] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    queue.Post({"point", {"1", "2"}, "page"});
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    queue.CloseFeed();
  });
  auto first = queue.Next("Specify first point:");
  ASSERT_TRUE(first);
  EXPECT_EQ("point", first->verb);
  EXPECT_EQ("page", first->origin);
  EXPECT_FALSE(queue.Next("Specify next point:")) << "no feed is left, so the input has run out";
  EXPECT_EQ("Specify next point:", queue.RanOutWhile());
  feed.join();
}

TEST_F(FedQueue, EventsFromManyThreadsAllArriveAndEachFeedKeepsItsOrder) {
  auto& queue = InputQueue::Instance();
  const int kFeeds = 4, kEach = 500;
  for (int f = 0; f < kFeeds; ++f) queue.OpenFeed();
  std::vector<std::thread> feeds;
  for (int f = 0; f < kFeeds; ++f) {
    feeds.emplace_back([&queue, f] {
      for (int i = 0; i < kEach; ++i) queue.Post({"type", {std::to_string(i)}, std::to_string(f)});
      queue.CloseFeed();
    });
  }
  std::vector<int> next(kFeeds, 0);
  int taken = 0;
  while (auto event = queue.Next("Command: ")) {
    int f = std::stoi(event->origin);
    ASSERT_EQ(std::to_string(next[f]), event->args.at(0)) << "feed " << f;
    ++next[f];
    ++taken;
  }
  EXPECT_EQ(kFeeds * kEach, taken);
  for (auto& t : feeds) t.join();
}

TEST_F(FedQueue, PendingEventsComeFirstThenTheSourceThenTheFeeds) {
  auto& queue = InputQueue::Instance();
  std::string error;
  queue.SetSource(qhost::ScriptSource::FromText("enter\n", "s.txt", error));
  queue.OpenFeed();
  queue.Post({"escape", {}, "page"});
  queue.PushFront({{"point", {"0", "0"}, "host"}});
  EXPECT_EQ("point", queue.Next("w")->verb);
  EXPECT_EQ("enter", queue.Next("w")->verb);
  EXPECT_EQ("escape", queue.Next("w")->verb);
  std::thread closer([&queue] { queue.CloseFeed(); });
  EXPECT_FALSE(queue.Next("w"));
  closer.join();
}

// An ending signal ends the input from another thread: the wait that sleeps wakes with nothing,
// and neither queued events, nor the source, nor feeds still open answer a later wait.
TEST_F(FedQueue, EndingTheInputWakesTheWaitAndAnswersNothingMore) {
  auto& queue = InputQueue::Instance();
  std::string error;
  queue.SetSource(qhost::ScriptSource::FromText("enter\n", "s.txt", error));
  queue.Push({"point", {"0", "0"}, "host"});
  EXPECT_EQ("point", queue.Next("w")->verb);
  EXPECT_EQ("enter", queue.Next("w")->verb);
  queue.OpenFeed();
  queue.Post({"escape", {}, "page"});
  EXPECT_EQ("escape", queue.Next("w")->verb);
  std::thread ender([&queue] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    queue.EndInput();
  });
  EXPECT_FALSE(queue.Next("Specify first point:")) << "the sleeping wait wakes with nothing";
  ender.join();
  queue.Push({"point", {"1", "1"}, "host"});
  queue.Post({"escape", {}, "page"});
  EXPECT_FALSE(queue.NextAtRest("Command: ")) << "the feed is still open, but the input has ended";
  EXPECT_EQ("Specify first point:", queue.RanOutWhile());
  queue.Reset();
  queue.Push({"enter", {}, "host"});
  EXPECT_TRUE(queue.Next("w")) << "a new session has input again";
}

}  // namespace
