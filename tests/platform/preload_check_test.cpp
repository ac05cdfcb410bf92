// The host runtime's pre-load check and its refusal hook.
#include "oauth/platform/preload_check.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "oauthclient/host_runtime.h"

namespace OAuthClient::Platform {
namespace {

TEST(PreloadCheckTest, AllowsEveryNameUntilOneIsRefused) {
  EXPECT_TRUE(PreloadCheckAllows(u"zqhttpclient.dll"));
  EXPECT_TRUE(PreloadCheckAllows(nullptr));
  ZqshrSetRefused(OAUTHCLIENT_TEXT("ZqHttpClient.DLL"), 1);
  ZqshrSetRefused(OAUTHCLIENT_TEXT("other.dll"), 7);
  EXPECT_FALSE(PreloadCheckAllows(u"zqhttpclient.dll")) << "file names ignore ASCII letter case";
  EXPECT_TRUE(PreloadCheckAllows(u"zqhttpclient.dl"));
  EXPECT_EQ(ZqshrPreloadCheck(OAUTHCLIENT_TEXT("OTHER.dll")), 0);
  ZqshrSetRefused(OAUTHCLIENT_TEXT("zqhttpclient.dll"), 0);
  EXPECT_TRUE(PreloadCheckAllows(u"zqhttpclient.dll"));
  EXPECT_FALSE(PreloadCheckAllows(u"other.dll"));
  ZqshrSetRefused(nullptr, 1);  // clears every refusal
  EXPECT_TRUE(PreloadCheckAllows(u"other.dll"));
}

// Threads refuse and allow names of their own while asking about one that stays refused.
TEST(PreloadCheckTest, IsSafeToUseFromSeveralThreads) {
  ZqshrSetRefused(OAUTHCLIENT_TEXT("fixed.dll"), 1);
  std::atomic<int> wrongAnswers{0};
  std::vector<std::thread> threads;
  for (char16_t t = 0; t < 4; ++t) {
    threads.emplace_back([t, &wrongAnswers] {
      const WideChar name[] = {WideChar(u'a' + t), u'.', u'd', u'l', u'l', 0};
      for (int i = 0; i < 2000; ++i) {
        ZqshrSetRefused(name, i % 2);
        if (PreloadCheckAllows(u"fixed.dll")) ++wrongAnswers;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(wrongAnswers.load(), 0);
  ZqshrSetRefused(nullptr, 0);
}

}  // namespace
}  // namespace OAuthClient::Platform
