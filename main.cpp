#include <cstdlib>
#include <ctime>

int main(int, char**) {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    return 0;
}
