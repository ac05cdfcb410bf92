// oauth-client: the command-line host of liboauthclient. Reads the command line, loads the library and runs
// the subcommand; the exit code says how it went (exit_codes.h).
#include <cstdio>
#include <exception>
#include <new>
#include <string>

#include "command_line.h"
#include "exit_codes.h"
#include "help_text.h"
#include "oauth_library.h"
#include "program_io.h"
#include "resource_command.h"
#include "token_cache.h"
#include "token_command.h"

namespace OAuthClient {
namespace Cli {
namespace {

void PrintUsageError(const UsageError& error) {
  PrintErrorLine(error.what());
  const char* topic = "";
  switch (error.Subcommand()) {
    case Command::kToken:
      topic = " token";
      break;
    case Command::kGet:
      topic = " get";
      break;
    case Command::kRequest:
      topic = " request";
      break;
    case Command::kHeader:
      topic = " header";
      break;
    case Command::kCache:
      topic = " cache";
      break;
    default:
      break;
  }
  std::fprintf(stderr, "Try 'oauth-client%s --help'.\n", topic);
}

int Run(const std::vector<std::string>& arguments) {
  UseBinaryStandardStreams();
  Invocation invocation;
  try {
    invocation = ParseCommandLine(arguments);
  } catch (const UsageError& error) {
    PrintUsageError(error);
    return kExitUsage;
  }
  if (invocation.command == Command::kHelp) {
    std::fputs(HelpText(invocation.helpTopic), stdout);
    return kExitOk;
  }
  if (invocation.command == Command::kVersion) {
    std::printf("%s\n", VersionText());
    return kExitOk;
  }
  if (invocation.command == Command::kCache) return invocation.cache.clear ? ClearTokenCache() : ListTokenCache();
  SetMessageLevels(!invocation.output.silent || invocation.output.showError, !invocation.output.silent);
  // The HTTP component reads the CA bundle to trust from the environment at each send.
  if (!invocation.transport.caFile.empty()) SetProcessEnvironment("SSL_CERT_FILE", invocation.transport.caFile);
  if (!invocation.transport.caDirectory.empty())
    SetProcessEnvironment("SSL_CERT_DIR", invocation.transport.caDirectory);
  OAuthLibrary library;
  std::string error;
  if (!library.Load(&error)) {
    PrintErrorLine(error);
    return kExitProgramFailure;
  }
  if (invocation.command == Command::kToken || invocation.command == Command::kHeader)
    return RunTokenCommand(library, invocation);
  return RunResourceCommand(library, invocation);
}

}  // namespace
}  // namespace Cli
}  // namespace OAuthClient

int main(int argc, char** argv) {
  try {
    return OAuthClient::Cli::Run(OAuthClient::Cli::ProgramArguments(argc, argv));
  } catch (const std::bad_alloc&) {
    OAuthClient::Cli::PrintErrorLine("out of memory");
  } catch (const std::exception& error) {
    OAuthClient::Cli::PrintErrorLine(std::string("unexpected failure: ") + error.what());
  }
  return OAuthClient::Cli::kExitProgramFailure;
}
