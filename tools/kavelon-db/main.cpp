#include <cstdio>

int main() {
    std::fputs("usage: kavelon-db create [--demo] FILE\n", stderr);
    return 2;
}
