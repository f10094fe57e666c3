#include <cstdio>

int main() {
    std::puts("mapquill-tool: not built yet");
    return 2;
}
