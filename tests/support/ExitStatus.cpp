// Ends as its argument says: with that status, or by a write through a null pointer ("crash").
#include <cstdlib>
#include <cstring>

namespace solvena {


}  // namespace solvena

using namespace solvena;

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "crash") == 0) {
        volatile int* nowhere = nullptr;
        *nowhere = 1;
    }
    return argc > 1 ? std::atoi(argv[1]) : 0;
}
