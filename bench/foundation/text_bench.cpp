// Conversion throughput of the code-page converters (UTF-8 to UTF-16 and back, the path of every UTF-8 body and
// form parameter) against glibc's iconv on the same text. The two alternate in rounds so that drift of the
// machine touches both alike. Usage: text_bench [--rounds N] [--round-ms MS]
// Prints one line per round and a summary with both rates in MB of UTF-8 per second and the ratio
// (ours / iconv). Every conversion's output is checked against the first; a mismatch ends the run non-zero.
#include <iconv.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

#include "oauth/platform/code_page.h"

namespace {

using Clock = std::chrono::steady_clock;
using OAuthClient::Platform::kCodePageUtf8;

// A mixed body: ASCII JSON, Latin, CJK and emoji, about 64 KiB of UTF-8.
std::string SampleText() {
  const std::string piece =
      "{\"access_token\":\"2YotnFZFEjr1zCsicMWpAA\",\"name\":\"J\xC3\xB6rg \xC3\x85str\xC3\xB6m\","
      "\"city\":\"\xE6\x9D\xB1\xE4\xBA\xAC\",\"mood\":\"\xF0\x9F\x98\x80\"}\n";
  std::string text;
  while (text.size() < 64 * 1024) text += piece;
  return text;
}

// Ours: the sizing call, then the converting call, in both directions.
bool RoundTripOurs(const std::string& utf8, std::u16string& wide, std::string& back) {
  const int size = static_cast<int>(utf8.size());
  const int units = OAuthClient::Platform::MultiByteToWideChar(kCodePageUtf8, utf8.data(), size, nullptr, 0);
  wide.resize(static_cast<std::size_t>(units));
  if (OAuthClient::Platform::MultiByteToWideChar(kCodePageUtf8, utf8.data(), size, wide.data(), units) != units) {
    return false;
  }
  const int bytes = OAuthClient::Platform::WideCharToMultiByte(kCodePageUtf8, wide.data(), units, nullptr, 0);
  back.resize(static_cast<std::size_t>(bytes));
  return OAuthClient::Platform::WideCharToMultiByte(kCodePageUtf8, wide.data(), units, back.data(), bytes) == bytes;
}

// iconv with buffers of the worst-case size (it has no sizing call), trimmed to what it wrote.
bool Convert(iconv_t cd, const char* in, std::size_t inSize, char* out, std::size_t* outSize) {
  char* input = const_cast<char*>(in);
  char* output = out;
  std::size_t left = *outSize;
  if (iconv(cd, &input, &inSize, &output, &left) == static_cast<std::size_t>(-1)) return false;
  *outSize = static_cast<std::size_t>(output - out);
  return true;
}

bool RoundTripIconv(iconv_t toWide, iconv_t toUtf8, const std::string& utf8, std::u16string& wide, std::string& back) {
  wide.resize(utf8.size());
  std::size_t wideBytes = wide.size() * 2;
  if (!Convert(toWide, utf8.data(), utf8.size(), reinterpret_cast<char*>(wide.data()), &wideBytes)) return false;
  wide.resize(wideBytes / 2);
  back.resize(wide.size() * 3);
  std::size_t backBytes = back.size();
  if (!Convert(toUtf8, reinterpret_cast<const char*>(wide.data()), wideBytes, back.data(), &backBytes)) return false;
  back.resize(backBytes);
  return true;
}

// Runs `roundTrip` for `milliseconds`; returns MB of UTF-8 converted (both ways) per second, or -1 on a failure.
double MeasureRate(const std::function<bool()>& roundTrip, std::size_t bytes, int milliseconds) {
  const auto start = Clock::now();
  const auto end = start + std::chrono::milliseconds(milliseconds);
  std::size_t done = 0;
  while (Clock::now() < end) {
    if (!roundTrip()) return -1;
    done += bytes;
  }
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return static_cast<double>(done) / seconds / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = 10;
  int roundMilliseconds = 500;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--rounds") == 0) rounds = std::atoi(argv[i + 1]);
    if (std::strcmp(argv[i], "--round-ms") == 0) roundMilliseconds = std::atoi(argv[i + 1]);
  }
  if (argc % 2 != 1 || rounds <= 0 || roundMilliseconds <= 0) {
    std::fprintf(stderr, "usage: text_bench [--rounds N] [--round-ms MS]\n");
    return 2;
  }
  iconv_t toWide = iconv_open("UTF-16LE", "UTF-8");
  iconv_t toUtf8 = iconv_open("UTF-8", "UTF-16LE");
  if (toWide == reinterpret_cast<iconv_t>(-1) || toUtf8 == reinterpret_cast<iconv_t>(-1)) {
    std::fprintf(stderr, "text_bench: iconv has no UTF-16LE\n");
    return 1;
  }

  const std::string utf8 = SampleText();
  std::u16string oursWide, iconvWide;
  std::string oursBack, iconvBack;
  if (!RoundTripOurs(utf8, oursWide, oursBack) || !RoundTripIconv(toWide, toUtf8, utf8, iconvWide, iconvBack) ||
      oursWide != iconvWide || oursBack != utf8 || iconvBack != utf8) {
    std::fprintf(stderr, "text_bench: the two converters disagree\n");
    return 1;
  }
  double oursTotal = 0;
  double iconvTotal = 0;
  for (int round = 1; round <= rounds; ++round) {
    const double ours =
        MeasureRate([&] { return RoundTripOurs(utf8, oursWide, oursBack); }, utf8.size(), roundMilliseconds);
    const double reference = MeasureRate([&] { return RoundTripIconv(toWide, toUtf8, utf8, iconvWide, iconvBack); },
                                         utf8.size(), roundMilliseconds);
    if (ours < 0 || reference < 0 || oursBack != utf8 || iconvBack != utf8) {
      std::fprintf(stderr, "text_bench: a conversion failed in round %d\n", round);
      return 1;
    }
    std::printf("round %2d: ours %8.1f MB/s, iconv %8.1f MB/s\n", round, ours, reference);
    oursTotal += ours;
    iconvTotal += reference;
  }
  iconv_close(toWide);
  iconv_close(toUtf8);
  std::printf("UTF-8 -> UTF-16 -> UTF-8 round trips: ours %.1f MB/s, iconv %.1f MB/s, ratio %.2f\n", oursTotal / rounds,
              iconvTotal / rounds, oursTotal / iconvTotal);
  return 0;
}
