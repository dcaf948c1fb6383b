/* Deliberately crashes with an access violation. Not part of the suite: the harness check runs it
   as a test of its own to prove that a crashing Windows test program fails its test. */
#include <stdio.h>

int main(void)
{
    volatile int* volatile nowhere = 0;
    printf("crash probe: writing through a null pointer\n");
    fflush(stdout);
    *nowhere = 1;
    printf("crash probe: still alive (this must never print)\n");
    return 0;
}
