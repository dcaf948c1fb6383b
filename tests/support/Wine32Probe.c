/* Prints one known line. An i686 program that Wine cannot run exits 0 having printed nothing, so
   this line is the proof that 32-bit Wine works. */
#include <stdio.h>

int main(void)
{
    printf("wine32 probe: running\n");
    return 0;
}
