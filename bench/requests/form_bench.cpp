// Form bodies per second: a token request filled with a password grant's properties and extra parameters, then
// joined into its URL-encoded form text, against the same form built directly from UTF-8 values with libcurl's
// curl_easy_escape (the escaping most C clients use). The two alternate in rounds so that drift of the machine
// touches both alike. Both outputs are compared once, after normalising libcurl's "%20" and upper-case hex to
// the form's "+" and lower-case hex; a mismatch ends the run non-zero. Usage: form_bench [--rounds N]
// [--round-ms MS]
#include <curl/curl.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <string>

#include "oauth/requests/token_request.h"

namespace {

using Clock = std::chrono::steady_clock;

// Name -> UTF-8 value of every parameter, as the form holds them (sorted by name). No ! ' ( ) *, which the two
// encoders treat differently.
const std::map<std::string, std::string> kParameters = {
    {"audience", "https://api.example.test/v1"},
    {"client_info", "1"},
    {"grant_type", "password"},
    {"password", "p@ss w\xC3\xB6rd & more"},
    {"resource", "urn:example:resource one"},
    {"scope", "openid profile email offline_access"},
    {"state", "af0ifjsldkj~._-"},
    {"username", "j\xC3\xB6rg.\xC3\xA5str\xC3\xB6m@example.test"},
};

std::u16string Utf16(const std::string& utf8) {
  std::u16string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const unsigned char c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      out += static_cast<char16_t>(c);
      i += 1;
    } else {  // the sample holds two-byte sequences only
      out += static_cast<char16_t>(((c & 0x1F) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3F));
      i += 2;
    }
  }
  return out;
}

struct Sample {
  std::u16string grantType, scope, userName, password, extra;  // extra: the other parameters as "&" text
};

Sample MakeSample() {
  Sample s{Utf16(kParameters.at("grant_type")),
           Utf16(kParameters.at("scope")),
           Utf16(kParameters.at("username")),
           Utf16(kParameters.at("password")),
           {}};
  for (const auto& [name, value] : kParameters) {
    if (name == "grant_type" || name == "scope" || name == "username" || name == "password") continue;
    s.extra += (s.extra.empty() ? u"" : u"&") + Utf16(name) + u"=" + Utf16(value);
  }
  return s;
}

// Ours: fill a fresh token request as a host does, then join its form with URL encoding.
bool BuildOurs(const Sample& s, std::u16string* form) {
  auto* request = new OAuthClient::CTokenRequest();
  request->SetGrantType(s.grantType.c_str());
  request->SetScope(s.scope.c_str());
  request->SetUserName(s.userName.c_str());
  request->SetPassword(s.password.c_str());
  request->AddParametersText(s.extra.c_str());
  const char16_t* text = nullptr;
  const bool ok = request->GetParametersText(&text, 1) == 1 && text != nullptr;
  if (ok) form->assign(text);
  request->Release();
  return ok;
}

// libcurl: escape each UTF-8 value and join name=value pairs in name order.
bool BuildCurl(CURL* curl, std::string* form) {
  form->clear();
  for (const auto& [name, value] : kParameters) {
    char* escaped = curl_easy_escape(curl, value.data(), static_cast<int>(value.size()));
    if (escaped == nullptr) return false;
    if (!form->empty()) *form += '&';
    *form += name;
    *form += '=';
    *form += escaped;
    curl_free(escaped);
  }
  return true;
}

// libcurl's form with "%20" as "+" and lower-case hex digits, as the token request writes it.
std::string Normalised(const std::string& form) {
  std::string out;
  for (std::size_t i = 0; i < form.size(); ++i) {
    if (form.compare(i, 3, "%20") == 0) {
      out += '+';
      i += 2;
    } else if (form[i] == '%') {
      out += '%';
      out += static_cast<char>(std::tolower(static_cast<unsigned char>(form[++i])));
      out += static_cast<char>(std::tolower(static_cast<unsigned char>(form[++i])));
    } else {
      out += form[i];
    }
  }
  return out;
}

// Returns forms per second over `milliseconds`, or -1 when a build failed.
double MeasureRate(const std::function<bool()>& build, int milliseconds) {
  const auto start = Clock::now();
  const auto end = start + std::chrono::milliseconds(milliseconds);
  std::size_t done = 0;
  while (Clock::now() < end) {
    if (!build()) return -1;
    ++done;
  }
  return static_cast<double>(done) / std::chrono::duration<double>(Clock::now() - start).count();
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
    std::fprintf(stderr, "usage: form_bench [--rounds N] [--round-ms MS]\n");
    return 2;
  }
  CURL* curl = curl_easy_init();
  if (curl == nullptr) return 1;
  const Sample sample = MakeSample();
  std::u16string ours;
  std::string reference;
  const bool built = BuildOurs(sample, &ours) && BuildCurl(curl, &reference);
  const std::string expected = Normalised(reference);
  if (!built || ours != std::u16string(expected.begin(), expected.end())) {
    std::fprintf(stderr, "form_bench: the two forms disagree\n");
    return 1;
  }
  double oursTotal = 0;
  double curlTotal = 0;
  for (int round = 1; round <= rounds; ++round) {
    const double oursRate = MeasureRate([&] { return BuildOurs(sample, &ours); }, roundMilliseconds);
    const double curlRate = MeasureRate([&] { return BuildCurl(curl, &reference); }, roundMilliseconds);
    if (oursRate < 0 || curlRate < 0) {
      std::fprintf(stderr, "form_bench: a build failed in round %d\n", round);
      return 1;
    }
    std::printf("round %2d: ours %10.0f forms/s, libcurl %10.0f forms/s\n", round, oursRate, curlRate);
    oursTotal += oursRate;
    curlTotal += curlRate;
  }
  curl_easy_cleanup(curl);
  std::printf("token request form bodies: ours %.0f forms/s, libcurl escaping %.0f forms/s, ratio %.2f\n",
              oursTotal / rounds, curlTotal / rounds, oursTotal / curlTotal);
  return 0;
}
