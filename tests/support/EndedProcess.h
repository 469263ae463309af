#pragma once

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace toneloft::test {

// A process number no process has: a child's, once it has ended and been reaped.
inline pid_t pidOfEndedProcess()
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    int status = 0;
    ::waitpid(child, &status, 0);
    return child;
}

} // namespace toneloft::test
