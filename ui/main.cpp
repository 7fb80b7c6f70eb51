#include "CalcApp.h"
#include "WindowCommandLine.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

int main(int argc, char** argv) {
    if (const std::optional<int> status = AnswerWindowCommandLine(argc, argv))
        return *status;
#if defined(__GLIBC__)
    // A long expression passes through blocks of megabytes (its copies, its
    // tree, its layout). Once the first of them is freed, glibc would serve
    // the next ones from the heap and keep them there, and the window would
    // grow by some megabytes with every computation; a fixed threshold
    // hands every block of a megabyte or more back when it is freed.
    mallopt(M_MMAP_THRESHOLD, 1 << 20);
#endif
    CCalcApp app(argc, argv);
    return app.InitInstance();
}
