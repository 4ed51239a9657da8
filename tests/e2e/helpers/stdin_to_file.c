/* The far end of a pipe in the end-to-end tests: copies its standard input,
   byte for byte, into the file named by its argument. */
#include <fcntl.h>
#include <io.h>
#include <stdio.h>

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    /* Binary, or the C runtime would turn CR LF into LF. */
    if (_setmode(_fileno(stdin), _O_BINARY) == -1) return 2;
    FILE* out = fopen(argv[1], "wb");
    if (out == NULL) return 2;
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, stdin)) > 0)
        if (fwrite(buffer, 1, got, out) != got) return 2;
    return fclose(out) == 0 ? 0 : 2;
}
