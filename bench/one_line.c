/* The yardstick of the -PRINT benchmark: the least a MinGW program can do
   that writes one line to standard output. */
#include <stdio.h>

int main(void) {
    fputs("MessageBox(NULL, \"Hello\", \"Title\", MB_OK);\r\n", stdout);
    return 0;
}
