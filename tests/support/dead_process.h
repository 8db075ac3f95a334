#pragma once

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tessalune::testing {

// The id of a process that has ended and been reaped: what a writer that died leaves in the
// names of its temporary files.
inline pid_t deadProcess() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  return child;
}

}  // namespace tessalune::testing
