// Code-page conversion on Windows: the kernel32 converters themselves, called with flags 0.
#include "oauth/platform/code_page.h"

#include <windows.h>

namespace OAuthClient::Platform {

int WideCharToMultiByte(std::uint32_t codePage, const char16_t* text, int count, char* out, int outSize) {
  return ::WideCharToMultiByte(codePage, 0, reinterpret_cast<const wchar_t*>(text), count, out, outSize, nullptr,
                               nullptr);
}

int MultiByteToWideChar(std::uint32_t codePage, const char* bytes, int count, char16_t* out, int outSize) {
  return ::MultiByteToWideChar(codePage, 0, bytes, count, reinterpret_cast<wchar_t*>(out), outSize);
}

}  // namespace OAuthClient::Platform
