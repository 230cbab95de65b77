#ifndef GUARD
#define GUARD
namespace n {
    #if defined(X)
    int a;
    #endif
}
#endif
