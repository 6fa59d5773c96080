#include <cstdio>

int main() {
    std::puts("Korvel: the game window is not built yet.");
    return 0;
}
