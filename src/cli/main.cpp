#include <cstdio>

int main() {
    std::fputs("zelkor2k-cli: no commands yet\n", stderr);
    return 1;
}
