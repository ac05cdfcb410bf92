// Program I/O: the POSIX and Windows ways of reading arguments, writing binary output and opening files.
#include "program_io.h"

#if defined(_WIN32)
// <windows.h> first: <shellapi.h> relies on the macros it defines.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#else
#include <cstdlib>
#endif

namespace OAuthClient {
namespace Cli {

namespace {

#if defined(_WIN32)
std::string NarrowToUtf8(const wchar_t* text) {
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (bytes <= 1) return std::string();
  std::string narrow(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, narrow.data(), bytes, nullptr, nullptr);
  narrow.resize(static_cast<size_t>(bytes) - 1);
  return narrow;
}

}  // namespace

std::wstring WidenPath(const std::string& text) {
  const int units = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
  if (units <= 1) return std::wstring();
  std::wstring wide(static_cast<size_t>(units), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, wide.data(), units);
  wide.resize(static_cast<size_t>(units) - 1);
  return wide;
}

namespace {
#endif

std::string BinaryMode(const char* mode) {
  std::string binary(mode);
  if (binary.find('b') == std::string::npos) binary += 'b';
  return binary;
}

}  // namespace

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  std::vector<std::string> arguments;
#if defined(_WIN32)
  (void)argc;
  (void)argv;
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide != nullptr) {
    for (int i = 1; i < count; ++i) arguments.push_back(NarrowToUtf8(wide[i]));
    LocalFree(wide);
  }
#else
  for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
#endif
  return arguments;
}

void UseBinaryStandardStreams() {
#if defined(_WIN32)
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
#endif
}

void SetProcessEnvironment(const char* name, const std::string& value) {
#if defined(_WIN32)
  _putenv_s(name, value.c_str());
#else
  if (value.empty()) {
    unsetenv(name);
  } else {
    setenv(name, value.c_str(), 1);
  }
#endif
}

FilePointer OpenFile(const std::string& path, const char* mode) {
#if defined(_WIN32)
  const std::string binary = BinaryMode(mode);
  return FilePointer(_wfopen(WidenPath(path).c_str(), WidenPath(binary).c_str()));
#else
  return FilePointer(std::fopen(path.c_str(), BinaryMode(mode).c_str()));
#endif
}

}  // namespace Cli
}  // namespace OAuthClient
