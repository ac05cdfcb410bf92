// Program I/O that differs between POSIX and Windows: the arguments as UTF-8, binary standard streams, files
// opened by UTF-8 names.
#ifndef OAUTH_CLIENT_CLI_PROGRAM_IO_H
#define OAUTH_CLIENT_CLI_PROGRAM_IO_H

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace OAuthClient {
namespace Cli {

// Returns the program's arguments after the program name, as UTF-8 texts. POSIX passes argv unchanged (the
// terminal's bytes, expected to be UTF-8); Windows reads the UTF-16 command line, so no character is lost.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// Switches standard input and output to binary mode, so bodies pass byte for byte (a no-op on POSIX).
void UseBinaryStandardStreams();

// Closes a file opened by OpenFile.
struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePointer = std::unique_ptr<std::FILE, FileCloser>;

#if defined(_WIN32)
// Converts a UTF-8 file name to the UTF-16 name of the Windows file functions.
std::wstring WidenPath(const std::string& path);
#endif

// Sets (or, with an empty value, removes) a variable of the process environment. The HTTP component reads its
// CA bundle settings from there at each send (SSL_CERT_FILE, SSL_CERT_DIR).
void SetProcessEnvironment(const char* name, const std::string& value);

// Opens the file of the UTF-8 name `path` with the fopen `mode` (always binary); null when it cannot.
FilePointer OpenFile(const std::string& path, const char* mode);

}  // namespace Cli
}  // namespace OAuthClient

#endif  // OAUTH_CLIENT_CLI_PROGRAM_IO_H
