/* Conditional compilation inside and around control statements. */
#include <cstdio>

#ifdef _WIN32
#define PATH_SEP '\\'
#else
#define PATH_SEP '/'
#endif

#define CHECK(x) do { if (!(x)) std::abort(); } while (0)

static int verbose = 0;

int open_log(const char* path)
{
    if (!path)
        return -1;
#if defined(DEBUG)
    if (verbose) {
        std::printf("opening %s\n", path);
    }
#endif
    for (const char* p = path; *p; ++p)
#ifdef _WIN32
        if (*p == '/') { return -2; }
#else
        if (*p == '\\') { return -2; }
#endif
    while (verbose > 3) {
#ifndef QUIET
        --verbose;
#endif
    }
    if (verbose)
        std::printf("%s%c\n", path,
#ifdef _WIN32
                    '\\'
#else
                    '/'
#endif
        );
    CHECK(path[0] != 0);
#if 0
    if (broken) { this is not C++ at all }
#endif
    return 0;
}

extern "C" {
int c_entry(int argc)
{
    if (argc > 1) { return open_log("x"); }
    return 0;
}
}
