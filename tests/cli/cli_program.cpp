// RunProgram on POSIX: fork and exec with stdin, stdout and stderr on temporary files; ExpectRuns on top.
#include "cli_program.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

extern char** environ;

namespace OAuthClient {
namespace Testing {

std::string Program() {
  const char* program = std::getenv("OAUTH_CLIENT_PROGRAM");
  return program != nullptr ? program : "oauth-client";
}

ProgramResult RunProgram(const std::vector<std::string>& arguments,
                         const std::map<std::string, std::string>& environment, const std::string& input,
                         const std::string& program) {
  std::vector<std::string> argv{program.empty() ? Program() : program}, envp;
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string text(*entry);
    if (text.rfind("OAUTH_", 0) != 0 && environment.count(text.substr(0, text.find('='))) == 0) envp.push_back(text);
  }
  for (const auto& [name, value] : environment) envp.push_back(name + "=" + value);
  std::vector<char*> pointers[2];
  for (int i = 0; i < 2; ++i) {
    for (std::string& text : i == 0 ? argv : envp) pointers[i].push_back(text.data());
    pointers[i].push_back(nullptr);
  }
  FILE* files[3] = {std::tmpfile(), std::tmpfile(), std::tmpfile()};
  ProgramResult result;
  if (files[0] == nullptr || files[1] == nullptr || files[2] == nullptr) {
    ADD_FAILURE() << "tmpfile failed";
    return result;
  }
  std::fwrite(input.data(), 1, input.size(), files[0]);
  std::fflush(files[0]);
  std::rewind(files[0]);
  const pid_t pid = fork();
  if (pid == 0) {
    for (int fd = 0; fd < 3; ++fd) dup2(fileno(files[fd]), fd);
    execve(pointers[0][0], pointers[0].data(), pointers[1].data());
    _exit(127);
  }
  int status = 0;
  while (pid > 0 && waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  EXPECT_GT(pid, 0) << "fork failed";
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  for (int i = 0; i < 3; ++i) {
    char buffer[65536];
    std::rewind(files[i]);
    for (size_t count; i > 0 && (count = std::fread(buffer, 1, sizeof buffer, files[i])) > 0;)
      (i == 1 ? result.out : result.err).append(buffer, count);
    std::fclose(files[i]);
  }
  return result;
}

void ExpectRuns(const std::vector<ExpectedRun>& runs) {
  for (const ExpectedRun& run : runs) {
    std::string trace = "oauth-client";
    for (const std::string& argument : run.arguments) trace += " " + argument;
    SCOPED_TRACE(trace);
    const ProgramResult result = RunProgram(run.arguments, run.environment, run.input);
    EXPECT_EQ(result.exitCode, run.exitCode) << result.err;
    if (run.outParts.empty()) {
      EXPECT_EQ(result.out, "");
    }
    for (const std::string& part : run.outParts)
      EXPECT_NE(result.out.find(part), std::string::npos) << part << " not in stdout: " << result.out;
    EXPECT_NE(result.err.find(run.errPart), std::string::npos) << "stderr: " << result.err;
  }
}

}  // namespace Testing
}  // namespace OAuthClient
