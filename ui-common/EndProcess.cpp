#include "EndProcess.h"

#include <cstdio>
#include <cstdlib>

#include "OutputFile.h"

void EndProcess()
{
    RemoveOutputFilesInFlight();
    std::fflush(nullptr);
    std::_Exit(EXIT_SUCCESS);
}
