// The benchmark program: the clock its parts share, and the choice of figures to print.
#include <windows.h>

#include <string>

#include "bench/bench.h"

double Now()
{
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

// No argument: every figure; "files" or "run": only those.
int main(int argc, char **argv)
{
    std::string only = argc > 1 ? argv[1] : "";
    if (only.empty() || only == "files") {
        BenchTree();
        BenchRenameList();
    }
    if (only.empty() || only == "run") {
        BenchRun2000();
        BenchCopies2000();
        BenchQueues();
    }
    return 0;
}
