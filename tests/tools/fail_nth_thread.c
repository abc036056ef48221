/* Preloaded into mirvane-sheet: the FAIL_THREAD-th thread the process starts (counting every
 * library's) fails with EAGAIN, as under a thread limit. With THREAD_COUNT_FILE set, the number
 * of starts asked for is written there at exit. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <pthread.h>
#include <stdatomic.h>
#include <stdio.h>
#include <stdlib.h>

typedef int (*create_fn)(pthread_t*, const pthread_attr_t*, void* (*)(void*), void*);

static atomic_int starts;

int pthread_create(pthread_t* thread, const pthread_attr_t* attr, void* (*body)(void*),
                   void* arg) {
    static create_fn real;
    if (real == NULL) {
        real = (create_fn)dlsym(RTLD_NEXT, "pthread_create");
    }
    const int n = atomic_fetch_add(&starts, 1) + 1;
    const char* fail = getenv("FAIL_THREAD");
    if (fail != NULL && atoi(fail) == n) {
        return EAGAIN;
    }
    return real(thread, attr, body, arg);
}

__attribute__((destructor)) static void report(void) {
    const char* path = getenv("THREAD_COUNT_FILE");
    FILE* file = path != NULL ? fopen(path, "w") : NULL;
    if (file != NULL) {
        fprintf(file, "%d\n", atomic_load(&starts));
        fclose(file);
    }
}
