// Writes the test data with every byte value 0 to 255, twice, to the file named first.
#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 2) return 1;
    FILE* f = std::fopen(argv[1], "wb");
    if (!f) return 1;
    for (int i = 0; i < 512; ++i) std::fputc(i & 255, f);
    return std::fclose(f) == 0 ? 0 : 1;
}
